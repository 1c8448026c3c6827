// The process-wide settings record: one variable per configuration key,
// named as the key, holding the built-in default until the configuration file
// or a control changes it. Every part of the plug-in reads and writes these
// variables directly; settings_table.h binds them to their keys.
//
//   gw::settings().MainDelay = 7;
//   const char* face = gw::settings().MainFontName;
//   int32_t frames = gw::settings().Style000Frames;
//
// Numbers are 32-bit (switches hold 0 or 1, colours are 0x00BBGGRR); texts are
// 261-byte buffers, at most 260 characters and a terminator. Per-effect keys
// are "Style" + the effect's page number less 7400 + the parameter; within an
// effect they are in alphabetical order, as in the configuration file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gw {

constexpr size_t kSettingTextSize = 261;

struct SettingsRecord {
  // General keys, first part (file order).
  int32_t AddDescriptiveCommentBlock = 1;
  int32_t AccentCompensation = 1;
  int32_t AlphaGreyBack = 0x7F7F7F;
  char CurrentFileName[kSettingTextSize] = "untitled.gw5";
  char DefaultTextureFileName[kSettingTextSize] = "glwplug5.fft";
  int32_t DitherBrightness = 20;
  int32_t DitherContrast = 20;
  int32_t FastRemap = 0;
  int32_t FitSampleInWindow = 1;
  int32_t IsFirst = 1;
  int32_t MainAlphaTrans = 0;
  int32_t MainAntialias = 1;
  int32_t MainDelay = 5;
  int32_t MainDepth = 32;
  int32_t MainDither = 0;
  int32_t MainEffect = 12;
  int32_t MainFitToText = 1;
  int32_t MainFontBold = 1;
  int32_t MainFontItalic = 0;
  char MainFontName[kSettingTextSize] = "Impact";
  int32_t MainFontSize = 92;
  int32_t MainFontSpace = 90;
  int32_t MainMaskBackground = 1;
  int32_t MainPadding = 0;
  int32_t MainPalette = 6;
  int32_t MainPause = 100;
  int32_t MainRolling = 1;
  int32_t MainSteps = 32;
  int32_t MainSupercompress = 0;
  char MainText[kSettingTextSize] = "This space for rent...";
  char MainVerticalOffset[kSettingTextSize] = "0";
  char MatrixLibrary[kSettingTextSize] = "glwplug5.mtx";
  char MatrixDefaultTile[kSettingTextSize] = "";
  int32_t MainTransparent = 0;
  char OpenPath[kSettingTextSize] = "";
  int32_t PatchLevel = 1;
  int32_t SampleWindowKeyLine = 0;

  // "Simple" (page 7400)
  int32_t Style000FillOpacity = 255;
  int32_t Style000Frames = 64;
  int32_t Style000OutlineColor = 0x333333;
  int32_t Style000OutlineEnable = 1;
  int32_t Style000Scroll = 1;
  int32_t Style000ShadowColor = 0x7F7F7F;
  int32_t Style000ShadowDirection = 7;
  int32_t Style000ShadowEnable = 1;
  int32_t Style000ShadowOffset = 4;
  int32_t Style000ShadowOpacity = 255;
  int32_t Style000Soft = 20;
  int32_t Style000Track = 1;

  // "Ring" (page 7401)
  int32_t Style001Angle = 15;
  int32_t Style001FillOpacity = 255;
  int32_t Style001InitAngle = 0;
  int32_t Style001OutlineColor = 0x333333;
  int32_t Style001OutlineEnable = 1;
  int32_t Style001Radius = 128;
  int32_t Style001ShadowColor = 0x7F7F7F;
  int32_t Style001ShadowDirection = 7;
  int32_t Style001ShadowEnable = 1;
  int32_t Style001ShadowOffset = 10;
  int32_t Style001ShadowOpacity = 255;
  int32_t Style001Soft = 20;

  // "Snow" (page 7402)
  int32_t Style002Density = 64;
  int32_t Style002Depth = 192;
  int32_t Style002Drift = 8;
  int32_t Style002FillColor1 = 0xEAE3DB;
  int32_t Style002FillColor2 = 0xDDBC9B;
  int32_t Style002FillColor3 = 0xC08243;
  int32_t Style002FillColor4 = 0x95632C;
  int32_t Style002FillColor5 = 0x7E5429;
  int32_t Style002FillEnable2 = 1;
  int32_t Style002FillEnable3 = 1;
  int32_t Style002FillEnable4 = 1;
  int32_t Style002FillEnable5 = 1;
  int32_t Style002FillOpacity = 255;
  int32_t Style002Frames = 64;
  int32_t Style002OutlineColor = 0x333333;
  int32_t Style002OutlineEnable = 1;
  int32_t Style002Seed = 10651;
  int32_t Style002ShadowColor = 0x7F7F7F;
  int32_t Style002ShadowDirection = 7;
  int32_t Style002ShadowEnable = 1;
  int32_t Style002ShadowOffset = 4;
  int32_t Style002ShadowOpacity = 255;
  int32_t Style002Size = 56;
  int32_t Style002Soft = 20;
  int32_t Style002Width = 192;

  // "Stars" (page 7403)
  int32_t Style003Density = 68;
  int32_t Style003Drift = 4;
  int32_t Style003FillColor1 = 0xFF0000;
  int32_t Style003FillColor2 = 0x00FF00;
  int32_t Style003FillColor3 = 0x00CCFF;
  int32_t Style003FillColor4 = 0x0033CC;
  int32_t Style003FillColor5 = 0x0066FF;
  int32_t Style003FillEnable2 = 1;
  int32_t Style003FillEnable3 = 1;
  int32_t Style003FillEnable4 = 1;
  int32_t Style003FillEnable5 = 1;
  int32_t Style003FillOpacity = 255;
  int32_t Style003Frames = 64;
  int32_t Style003Seed = 10647;
  int32_t Style003Size = 48;
  int32_t Style003Soft = 20;
  int32_t Style003Variable = 1;

  // "Machine" (page 7404)
  int32_t Style004End = 0x996633;
  int32_t Style004Inverse = 0;
  int32_t Style004Offset = 180;
  int32_t Style004OutlineColor = 0x333333;
  int32_t Style004OutlineEnable = 1;
  int32_t Style004Rotation = 22;
  int32_t Style004ShadowColor = 0x7F7F7F;
  int32_t Style004ShadowDirection = 7;
  int32_t Style004ShadowEnable = 1;
  int32_t Style004ShadowOffset = 4;
  int32_t Style004ShadowOpacity = 255;
  int32_t Style004Size = 48;
  int32_t Style004Soft = 20;
  int32_t Style004Start = 0xFFFFFF;

  // "Quark" (page 7405)
  int32_t Style005InitRotation = 0;
  int32_t Style005OutlineColor = 0x333333;
  int32_t Style005OutlineEnable = 1;
  int32_t Style005Rotation = 22;
  int32_t Style005ShadowColor = 0x7F7F7F;
  int32_t Style005ShadowDirection = 7;
  int32_t Style005ShadowEnable = 1;
  int32_t Style005ShadowOffset = 4;
  int32_t Style005ShadowOpacity = 255;
  int32_t Style005Soft = 20;
  int32_t Style005XOffset = 47;
  int32_t Style005YOffset = 50;

  // "Neural Network" (page 7406)
  int32_t Style006Density = 55;
  int32_t Style006FillColor1 = 0xFF0000;
  int32_t Style006FillColor2 = 0x00FF00;
  int32_t Style006FillColor3 = 0x00CCFF;
  int32_t Style006FillColor4 = 0x0033CC;
  int32_t Style006FillColor5 = 0x0066FF;
  int32_t Style006FillEnable2 = 1;
  int32_t Style006FillEnable3 = 1;
  int32_t Style006FillEnable4 = 1;
  int32_t Style006FillEnable5 = 1;
  int32_t Style006FrameBackground = 0;
  int32_t Style006Frames = 64;
  int32_t Style006Glare = 70;
  int32_t Style006Matrix = 10;
  int32_t Style006OutlineColor = 0x333333;
  int32_t Style006OutlineEnable = 1;
  int32_t Style006Seed = 12055;
  int32_t Style006Shade = 70;
  int32_t Style006ShadowColor = 0x7F7F7F;
  int32_t Style006ShadowDirection = 7;
  int32_t Style006ShadowEnable = 1;
  int32_t Style006ShadowOffset = 4;
  int32_t Style006ShadowOpacity = 255;
  int32_t Style006Size = 11;
  int32_t Style006Soft = 20;

  // "Arrows" (page 7407)
  int32_t Style007Density = 96;
  int32_t Style007DirEast = 1;
  int32_t Style007DirNorth = 1;
  int32_t Style007DirSouth = 0;
  int32_t Style007DirWest = 0;
  int32_t Style007Drift = 4;
  int32_t Style007FillColor1 = 0xFF0000;
  int32_t Style007FillColor2 = 0x00FF00;
  int32_t Style007FillColor3 = 0x00CCFF;
  int32_t Style007FillColor4 = 0x0033CC;
  int32_t Style007FillColor5 = 0x0066FF;
  int32_t Style007FillEnable2 = 1;
  int32_t Style007FillEnable3 = 1;
  int32_t Style007FillEnable4 = 1;
  int32_t Style007FillEnable5 = 1;
  int32_t Style007FillOpacity = 255;
  int32_t Style007Frames = 128;
  int32_t Style007OutlineColor = 0x333333;
  int32_t Style007OutlineEnable = 1;
  int32_t Style007Seed = 11234;
  int32_t Style007ShadowColor = 0x7F7F7F;
  int32_t Style007ShadowDirection = 7;
  int32_t Style007ShadowEnable = 1;
  int32_t Style007ShadowOffset = 4;
  int32_t Style007ShadowOpacity = 255;
  int32_t Style007Size = 50;
  int32_t Style007Soft = 20;

  // "Waterside" (page 7408)
  int32_t Style008Background = 0xFFFFFF;
  int32_t Style008FillOpacity = 255;
  int32_t Style008Frames = 40;
  int32_t Style008OutlineColor = 0x333333;
  int32_t Style008OutlineEnable = 1;
  int32_t Style008ShadowColor = 0x7F7F7F;
  int32_t Style008ShadowDirection = 7;
  int32_t Style008ShadowEnable = 1;
  int32_t Style008ShadowOffset = 4;
  int32_t Style008ShadowOpacity = 255;
  int32_t Style008Soft = 20;

  // "Wavelet" (page 7409)
  int32_t Style009Amplitude = 75;
  int32_t Style009FillColor1 = 0xFF0000;
  int32_t Style009FillColor2 = 0x00FF00;
  int32_t Style009FillColor3 = 0x00CCFF;
  int32_t Style009FillColor4 = 0x0033CC;
  int32_t Style009FillColor5 = 0x0066FF;
  int32_t Style009FillEnable2 = 1;
  int32_t Style009FillEnable3 = 1;
  int32_t Style009FillEnable4 = 1;
  int32_t Style009FillEnable5 = 1;
  int32_t Style009FillOpacity = 255;
  int32_t Style009Frames = 32;
  int32_t Style009Glare = 160;
  int32_t Style009OutlineColor = 0x333333;
  int32_t Style009OutlineEnable = 1;
  int32_t Style009Scroll = 1;
  int32_t Style009Seed = 12055;
  int32_t Style009Shade = 70;
  int32_t Style009ShadowColor = 0x7F7F7F;
  int32_t Style009ShadowDirection = 7;
  int32_t Style009ShadowEnable = 1;
  int32_t Style009ShadowOffset = 4;
  int32_t Style009ShadowOpacity = 255;
  int32_t Style009Size = 10;
  int32_t Style009Soft = 20;
  int32_t Style009Wavelength = 2;

  // "Heartbeat" (page 7410)
  int32_t Style010Background = 0xFFFFFF;
  int32_t Style010FillOpacity = 255;
  int32_t Style010Frames = 64;
  int32_t Style010OutlineColor = 0x333333;
  int32_t Style010OutlineEnable = 1;
  int32_t Style010ShadowColor = 0x7F7F7F;
  int32_t Style010ShadowDirection = 7;
  int32_t Style010ShadowEnable = 1;
  int32_t Style010ShadowOffset = 4;
  int32_t Style010ShadowOpacity = 255;
  int32_t Style010Soft = 20;
  int32_t Style010Waveheight = 60;
  int32_t Style010Wavesize = 20;

  // "Omni" (page 7411)
  char Style011AnimPath[kSettingTextSize] = "";
  int32_t Style011FillOpacity = 255;
  int32_t Style011OutlineColor = 0x333333;
  int32_t Style011OutlineEnable = 1;
  int32_t Style011ShadowColor = 0x7F7F7F;
  int32_t Style011ShadowDirection = 7;
  int32_t Style011ShadowEnable = 1;
  int32_t Style011ShadowOffset = 4;
  int32_t Style011ShadowOpacity = 255;
  int32_t Style011Soft = 20;

  // "Diagonal Fuse" (page 7412)
  int32_t Style012BackFillColor = 0x333333;
  int32_t Style012FillColor = 0x00CCFF;
  int32_t Style012FillOpacity = 255;
  int32_t Style012Frames = 64;
  int32_t Style012OutlineColor = 0x333333;
  int32_t Style012OutlineEnable = 1;
  int32_t Style012Scroll = 1;
  int32_t Style012ShadowColor = 0x7F7F7F;
  int32_t Style012ShadowDirection = 7;
  int32_t Style012ShadowEnable = 1;
  int32_t Style012ShadowOffset = 4;
  int32_t Style012ShadowOpacity = 255;
  int32_t Style012Size = 12;
  int32_t Style012Soft = 20;

  // "Quark Outline" (page 7413)
  int32_t Style013FillOpacity = 255;
  int32_t Style013InitRotation = 0;
  int32_t Style013Rotation = 22;
  int32_t Style013ShadowColor = 0x7F7F7F;
  int32_t Style013ShadowDirection = 7;
  int32_t Style013ShadowEnable = 1;
  int32_t Style013ShadowOffset = 4;
  int32_t Style013ShadowOpacity = 255;
  int32_t Style013Soft = 20;
  int32_t Style013XOffset = 47;
  int32_t Style013YOffset = 50;

  // "Zipper" (page 7414)
  int32_t Style014BackgroundColor = 0xFFFFFF;
  int32_t Style014FillOpacity = 255;
  int32_t Style014Frames = 20;
  int32_t Style014LeafSize = 10;
  int32_t Style014OutlineColor = 0x333333;
  int32_t Style014OutlineEnable = 1;
  int32_t Style014ShadowColor = 0x7F7F7F;
  int32_t Style014ShadowDirection = 7;
  int32_t Style014ShadowEnable = 1;
  int32_t Style014ShadowOffset = 4;
  int32_t Style014ShadowOpacity = 255;
  int32_t Style014Soft = 20;

  // "Tracks" (page 7415)
  int32_t Style015BackgroundColor = 0xFFFFFF;
  int32_t Style015BevelEnable = 1;
  int32_t Style015BevelSize = 15;
  int32_t Style015FillOpacity = 255;
  int32_t Style015Frames = 20;
  int32_t Style015Mode = 2;
  int32_t Style015OutlineColor = 0x333333;
  int32_t Style015OutlineEnable = 1;
  int32_t Style015Seed = 15595;
  int32_t Style015ShadowColor = 0x7F7F7F;
  int32_t Style015ShadowDirection = 7;
  int32_t Style015ShadowEnable = 1;
  int32_t Style015ShadowOffset = 4;
  int32_t Style015ShadowOpacity = 255;
  int32_t Style015SlowEnd = 1;
  int32_t Style015SlowHFactor = 95;
  int32_t Style015SlowVFactor = 98;
  int32_t Style015Soft = 20;
  int32_t Style015Speed = 4;
  int32_t Style015Tracks = 4;

  // "Confetti" (page 7416)
  int32_t Style016Density = 128;
  int32_t Style016Drift = 4;
  int32_t Style016FillColor1 = 0xFF0000;
  int32_t Style016FillColor2 = 0x00FF00;
  int32_t Style016FillColor3 = 0x00CCFF;
  int32_t Style016FillColor4 = 0x0033CC;
  int32_t Style016FillColor5 = 0x0066FF;
  int32_t Style016FillEnable2 = 1;
  int32_t Style016FillEnable3 = 1;
  int32_t Style016FillEnable4 = 1;
  int32_t Style016FillEnable5 = 1;
  int32_t Style016FillOpacity = 255;
  int32_t Style016Frames = 64;
  int32_t Style016Seed = 10645;
  int32_t Style016ShadowColor = 0x4C4C4C;
  int32_t Style016Size = 20;
  int32_t Style016Soft = 20;
  int32_t Style016Variable = 1;

  // "Candy" (page 7417)
  int32_t Style017Density = 64;
  int32_t Style017Drift = 4;
  int32_t Style017FillColor1 = 0xFF0000;
  int32_t Style017FillColor2 = 0x00FF00;
  int32_t Style017FillColor3 = 0x00CCFF;
  int32_t Style017FillColor4 = 0x0033CC;
  int32_t Style017FillColor5 = 0x0066FF;
  int32_t Style017FillEnable2 = 1;
  int32_t Style017FillEnable3 = 1;
  int32_t Style017FillEnable4 = 1;
  int32_t Style017FillEnable5 = 1;
  int32_t Style017FillOpacity = 255;
  int32_t Style017Frames = 64;
  int32_t Style017ObjectSoft = 60;
  int32_t Style017Scroll = 2;
  int32_t Style017Seed = 10646;
  int32_t Style017ShadowColor = 0x4C4C4C;
  int32_t Style017Size = 28;
  int32_t Style017Soft = 60;
  int32_t Style017Variable = 1;

  // "Rattle" (page 7418)
  int32_t Style018FillOpacity = 255;
  int32_t Style018Frames = 64;
  int32_t Style018HDisplace = 9;
  int32_t Style018Mode = 0;
  int32_t Style018OutlineColor = 0x333333;
  int32_t Style018OutlineEnable = 1;
  int32_t Style018Ratio = 6;
  int32_t Style018Seed = 19374;
  int32_t Style018ShadowColor = 0x7F7F7F;
  int32_t Style018ShadowDirection = 7;
  int32_t Style018ShadowEnable = 1;
  int32_t Style018ShadowOffset = 4;
  int32_t Style018ShadowOpacity = 255;
  int32_t Style018Soft = 20;
  int32_t Style018VDisplace = 9;

  // "Unplugged TV" (page 7419)
  int32_t Style019DotColor = 0xFFFFFF;
  int32_t Style019DotEnable = 1;
  int32_t Style019DotSquare = 0;
  int32_t Style019FillEnable3 = 1;
  int32_t Style019FillEnable4 = 1;
  int32_t Style019FillEnable5 = 1;
  int32_t Style019FillOpacity = 255;
  int32_t Style019Frames = 48;
  int32_t Style019OutlineColor = 0x333333;
  int32_t Style019OutlineEnable = 1;
  int32_t Style019ShadowColor = 0x7F7F7F;
  int32_t Style019ShadowDirection = 7;
  int32_t Style019ShadowEnable = 1;
  int32_t Style019ShadowOffset = 4;
  int32_t Style019ShadowOpacity = 255;
  int32_t Style019Soft = 20;
  int32_t Style019SwellDelayFactor = 150;
  int32_t Style019SwellEdgeFactor = 75;
  int32_t Style019SwellSizeFactor = 20;
  int32_t Style019SwellSoftness = 20;

  // "Tram Lines" (page 7420)
  int32_t Style020Barcount = 24;
  int32_t Style020FillOpacity = 255;
  int32_t Style020OutlineColor = 0x333333;
  int32_t Style020OutlineEnable = 1;
  int32_t Style020ShadowColor = 0x7F7F7F;
  int32_t Style020ShadowDirection = 7;
  int32_t Style020ShadowEnable = 1;
  int32_t Style020ShadowOffset = 4;
  int32_t Style020ShadowOpacity = 255;
  int32_t Style020Soft = 20;
  int32_t Style020Tilestep = 8;
  int32_t Style020Vertical = 0;

  // General keys, last part.
  int32_t ShowFileOpenPreview = 1;
  int32_t Truecolour = 1;
  int32_t UpdateDelay = 250;
  int32_t UseAlphaGreyBack = 1;
  int32_t VersionNumber = 512;
};

// The one record of the process. It outlives every dialog, so a second run in
// the same process starts from what the first left.
SettingsRecord& settings();

// Puts every variable back to its built-in default (a fresh process).
void resetSettings();

}  // namespace gw
