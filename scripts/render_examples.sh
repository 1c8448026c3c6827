#!/usr/bin/env bash
# Renders every effect document in docs/examples/ to the GIF beside it, the
# pictures of the README's gallery. Run after adding or changing an example:
#   bash scripts/render_examples.sh [build/cli/glyphwright]
set -euo pipefail
cd "$(dirname "$0")/.."
glyphwright=${1:-build/cli/glyphwright}
# Examples never read or write the user's own files.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for doc in docs/examples/*.gw5; do
  GLYPHWRIGHT_APPDATA=$scratch GLYPHWRIGHT_DOCUMENTS=$scratch \
    "$glyphwright" render "$doc" -o "${doc%.gw5}.gif" --quiet
done
