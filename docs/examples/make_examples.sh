#!/usr/bin/env bash
# Writes the effect documents of docs/examples/ from the command lines below:
# one design per effect. The materials (gradients, textures) are made first,
# in a scratch folder; a document carries their records, so nothing of the
# scratch folder is needed afterwards. Then scripts/render_examples.sh renders
# every document to the GIF beside it:
#   bash docs/examples/make_examples.sh [build/cli/glyphwright]
#   bash scripts/render_examples.sh [build/cli/glyphwright]
set -euo pipefail
cd "$(dirname "$0")/../.."
glyphwright=${1:-build/cli/glyphwright}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export GLYPHWRIGHT_APPDATA=$scratch GLYPHWRIGHT_DOCUMENTS=$scratch

# A colour key's number (0x00BBGGRR) from RRGGBB.
colour() { printf '%d' "0x${1:4:2}${1:2:2}${1:0:2}"; }

# gradient NAME START END [gradient options]: a material record NAME.mtrl.
gradient() {
  local name=$1 start=$2 end=$3
  shift 3
  "$glyphwright" gradient --size 32x32 --start "#$start" --end "#$end" "$@" \
    --write-settings "$scratch/$name.gws" "$scratch/$name.png"
  "$glyphwright" material --kind gradient --gradient "$scratch/$name.gws" --write-record "$scratch/$name.mtrl"
}

# texture NAME [texture options]: a material record NAME.mtrl.
texture() {
  local name=$1
  shift
  "$glyphwright" texture --size 32x32 "$@" --write-settings "$scratch/$name.gts" "$scratch/$name.png"
  "$glyphwright" material --kind texture --texture "$scratch/$name.gts" --write-record "$scratch/$name.mtrl"
}

m() { echo "record:$scratch/$1.mtrl"; }

# Faces: top to bottom (rotation 0 runs from the start colour at the top).
gradient gold FFF3B0 E08A00
gradient ember FFE066 D03000
gradient ice FFFFFF 9CCBEF
gradient candy FFD1E8 D81B74
gradient sky E8F6FF 3F86D6
gradient steel F4F6F8 8A96A3
gradient violet C77DFF 3C096C
gradient ocean 7FD3FF 0B4F9E
# Backgrounds.
gradient night 0A1030 2C4A86
gradient dusk 1A0E33 5A2B6E
gradient cream FFFBF2 F6DCE8
gradient paper FFFFFF E4EAF2
gradient sea 0B3954 1B7F9E
gradient studio 202830 3C4C5C --shape elliptical
gradient peach FFF6E8 FFD9B8
texture marble --type 1 --back "$(colour 1D3557)" --fore "$(colour A8DADC)"
texture lava --type 0 --back "$(colour 7A1200)" --fore "$(colour FFB000)"

# The first pictures of the README: "Simple" with the built-in defaults, a
# gradient face supercompressed, a texture face dithered.
"$glyphwright" document --size 48 -o docs/examples/default.gw5
"$glyphwright" document --size 56 --text "Glyphwright 5" --face gradient:FFD200-D02000 --supercompress \
  -o docs/examples/gradient.gw5
"$glyphwright" document --size 64 --text "Textures" --face texture:2 --dither -o docs/examples/texture.gw5

# One design for each other effect.
doc() {
  local name=$1
  shift
  "$glyphwright" document --font "DejaVu Sans" --bold --pad 10 "$@" -o "docs/examples/$name.gw5"
}

doc arrows --effect Arrows --text "Onward!" --size 48 --frames 48 \
  --face "$(m gold)" --background "$(m sea)" \
  --set Style007Density=40 --set Style007Size=40 --set Style007DirWest=1
doc candy --effect Candy --text "Sweet Treats" --font "DejaVu Serif" --size 40 --frames 32 \
  --face "$(m candy)" --background "$(m cream)" --set Style017Density=30 \
  --set Style017FillColor1="$(colour FF5C8A)" --set Style017FillColor2="$(colour 7ED957)" \
  --set Style017FillColor3="$(colour FFD23F)" --set Style017FillColor4="$(colour 9B5DE5)" \
  --set Style017FillColor5="$(colour FF924C)"
doc confetti --effect Confetti --text "Party!" --size 56 --frames 48 \
  --face "$(m gold)" --background "$(m dusk)" --set Style016Density=60
doc diagonal_fuse --effect "Diagonal Fuse" --text "Ignition" --size 52 --frames 40 \
  --face "$(m ember)" --background "$(m studio)" \
  --set Style012FillColor="$(colour FFB300)" --set Style012BackFillColor="$(colour 46505A)"
doc heartbeat --effect Heartbeat --text "Heartbeat" --size 48 --frames 40 \
  --face "$(m ember)" --set Style010Background="$(colour 0E1A12)" \
  --set Style010OutlineColor="$(colour 3CFF78)"
doc machine --effect Machine --text "JACKPOT" --font "DejaVu Sans Mono" --size 52 \
  --face "$(m gold)" --background "$(m studio)" \
  --set Style004Start="$(colour FFF3B0)" --set Style004End="$(colour 7A4A00)" --set Style004Offset=12
doc neural_network --effect "Neural Network" --text "Neural Network" --size 40 --frames 32 \
  --face "$(m ice)" --background "$(m night)" --set Style006FrameBackground="$(colour 0A1030)" \
  --set Style006Density=24 --set Style006Size=5 --set Style006Matrix=25
doc omni --animation docs/examples/omni_waves.gif --text "Omni" --size 44 --face colour:FFF2D0
# The document names its animation by the file name alone, rather than by
# this machine's full path: the renderer finds it beside the document.
sed -i 's#^ANMCTL524=.*\r$#ANMCTL524=omni_waves.gif\r#' docs/examples/omni.gw5
doc quark --effect Quark --text "Quark" --size 56 --face "$(m lava)" --background "$(m peach)"
doc quark_outline --effect "Quark Outline" --text "Outline" --size 60 --space 115 --face "$(m gold)" \
  --background "$(m night)"
doc rattle --effect Rattle --text "Rattle!" --size 56 --frames 40 --face "$(m ember)" \
  --background "$(m paper)"
doc ring --effect Ring --text "Around and around the world we go • " --size 26 \
  --face "$(m ocean)" --background "$(m paper)" --set Style001Radius=100
doc snow --effect Snow --text "Winter" --font "DejaVu Serif" --size 56 --frames 40 \
  --face "$(m ice)" --background "$(m night)" --set Style002Size=24 --set Style002Density=30
doc stars --effect Stars --text "Sparkle" --font "DejaVu Serif" --size 56 --frames 48 \
  --face "$(m gold)" --background "$(m night)" --set Style003Density=30 --set Style003Size=28
doc tracks --effect Tracks --text "Tracks" --size 56 --face "$(m marble)" --set Style015Mode=1 \
  --set Style015BackgroundColor="$(colour F4F6F8)"
doc tram_lines --effect "Tram Lines" --text "Tram Lines" --size 48 --face "$(m gold)" \
  --background "$(m studio)" --set Style020Barcount=16
doc unplugged_tv --effect "Unplugged TV" --text "Good night" --size 48 --face "$(m steel)" \
  --background "$(m studio)"
doc waterside --effect Waterside --text "Lakeside" --font "DejaVu Serif" --size 52 --frames 30 --face "$(m sky)" \
  --set Style008Background="$(colour 0B3954)"
doc wavelet --effect Wavelet --text "Wavelets ride" --size 40 --frames 24 --face "$(m ocean)" \
  --background "$(m paper)"
doc zipper --effect Zipper --text "Zipper" --size 56 --face "$(m violet)" \
  --set Style014BackgroundColor="$(colour FFFFFF)"
