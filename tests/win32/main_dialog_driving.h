// Driving the plug-in's main dialog from a test's script thread: the effect
// list, the material buttons' kind menu and face, a Test build and the
// frames the host keeps; where the plug-in keeps its files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/win32/harness.h"

namespace driving {

constexpr int kEffectList = 58;
constexpr int kSimpleIndex = 12;
constexpr int kFace = 100;        // the "Simple" page's face material button
constexpr int kBackground = 104;  // and its background's
constexpr int kTrueColour = 10;
constexpr int kTest = 24;
constexpr UINT kKindMenu = 1325;
constexpr int kKindTexture = 2;
constexpr int kKindTile = 3;

uint32_t u32(const uint8_t* p);

// "<APPDATA>\Quillmere\Glyphwright 5\" and a material button's file in it.
std::string pluginFolder();
std::string materialFile(int id);

void selectEffect(HWND dialog, int index);
// The colour on screen a few pixels into the button's face.
COLORREF faceColour(HWND button);
HWND waitForMenu(int timeoutMs);
void key(HWND window, WPARAM vk);
// Opens the button's kind menu and picks `kind` from the keyboard; false
// when the menu did not show.
bool chooseKind(HWND button, int kind);
// A click on the button's face: its kind's editor opens.
void clickFace(HWND button);
// Waits (at most a minute) until the host has been told the build ended.
void waitForBuild(harness::Plugin& plugin);
// Presses "&Test", waits for the build and closes a message it left.
void testBuild(harness::Driver& d, harness::Plugin& plugin, HWND dialog);
// Code 2's image, copied whole; false when the handle does not lock.
bool keepFrame(const void* imageRecord, std::vector<std::vector<uint8_t>>* frames);
// Shift as this thread's keyboard state has it (the state the plug-in's
// opening looks at when it runs on this thread).
void setShift(bool down);

}  // namespace driving
