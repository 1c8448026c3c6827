#include "host/main_dialog.h"

#include <algorithm>

#include "base/le_bytes.h"
#include "controls/animation_selector.h"
#include "controls/bound_control.h"
#include "controls/colour_request.h"
#include "controls/font_families.h"
#include "documents/document_file.h"
#include "effects/effect_pages.h"
#include "effects/effect_table.h"
#include "host/build_pipeline.h"
#include "materials/material_button.h"
#include "protocol/host_protocol.h"
#include "host/plugin_state.h"
#include "platform/folders.h"
#include "platform/string_table.h"
#include "platform/system_state.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "settings/settings_table.h"
#include "ui/file_dialog_size.h"
#include "ui/gradient_editor.h"
#include "ui/help_request.h"
#include "ui/matrix_dialog.h"
#include "ui/message_box.h"
#include "ui/texture_dialog.h"

namespace gw {

const char kHelpFileName[] = "glwplug5.htm";
const char kHelpErrorMessage[] = "There has been an error displaying the Help document.";

namespace {

// The main dialog's bound controls and their keys ("Custom palette" has no key:
// documents keep it, the configuration file does not).
struct MainBinding {
  uint32_t id;
  ControlKind kind;
  const char* key;
};
const MainBinding kMainBindings[] = {
    {IDC_TRUE_COLOUR, ControlKind::kCheckBox, "Truecolour"},
    {IDC_DELAY, ControlKind::kSpinField, "MainDelay"},
    {IDC_PALETTE, ControlKind::kDropDownList, "MainPalette"},
    {IDC_CUSTOM_PALETTE, ControlKind::kCheckBox, nullptr},
    {IDC_DITHER, ControlKind::kCheckBox, "MainDither"},
    {IDC_SUPERCOMPRESS, ControlKind::kCheckBox, "MainSupercompress"},
    {IDC_ADD_COMMENT, ControlKind::kCheckBox, "AddDescriptiveCommentBlock"},
    {IDC_MASK_BACKGROUND, ControlKind::kCheckBox, "MainMaskBackground"},
    {IDC_ANIMATED, ControlKind::kCheckBox, "MainRolling"},
    {IDC_PAUSE, ControlKind::kSpinField, "MainPause"},
    {IDC_TRANSPARENT, ControlKind::kCheckBox, "MainTransparent"},
    {IDC_ANTIALIAS, ControlKind::kCheckBox, "MainAntialias"},
    {IDC_TEXT, ControlKind::kTextField, "MainText"},
    {IDC_FONT, ControlKind::kFontList, "MainFontName"},
    {IDC_BOLD, ControlKind::kCheckBox, "MainFontBold"},
    {IDC_ITALIC, ControlKind::kCheckBox, "MainFontItalic"},
    {IDC_FONT_SIZE, ControlKind::kSpinField, "MainFontSize"},
    {IDC_EFFECT, ControlKind::kDropDownList, "MainEffect"},
    {IDC_PAD, ControlKind::kSpinField, "MainPadding"},
    {IDC_CHARACTER_SPACE, ControlKind::kSpinField, "MainFontSpace"},
    {IDC_ALPHA_TRANSPARENCY, ControlKind::kCheckBox, "MainAlphaTrans"},
    {IDC_ALPHA_BACKGROUND, ControlKind::kCheckBox, "UseAlphaGreyBack"},
    {IDC_FIT_SAMPLE, ControlKind::kCheckBox, "FitSampleInWindow"},
};

void* mainVariable(const char* key) {
  if (!key) return nullptr;
  if (int32_t* n = settingNumber(settings(), key)) return n;
  return settingText(settings(), key);
}

// Before the file is read: an empty OpenPath starts in the documents folder;
// with Shift held the document name and folder start afresh there too.
void prepareFolders() {
  SettingsRecord& s = settings();
  const std::string documents = documentsFolder();
  if (s.OpenPath[0] == '\0' || shiftKeyDown()) setSettingText(s.OpenPath, documents.c_str());
  if (shiftKeyDown()) setSettingText(s.CurrentFileName, joinPath(documents, "untitled.gw5").c_str());
}

// The material buttons keep their files and open the editors of this run.
// An editor not in this build stays null: the button then says so.
MaterialButtonServices materialServices(const uint8_t* params) {
  MaterialButtonServices s;
  s.hostParams = params;
  s.keepFiles = true;
  s.pickColour = requestColour;
  s.showMessage = [](WindowId owner, const std::string& text) { showMessage(owner, text); };
  s.editGradient = runGradientEditor;
  s.editTexture = runTextureDialog;
  s.editTile = runMatrixDialog;
  return s;
}

void fillMainLists(DialogFacade& dialog) {
  fillFontList(dialog, IDC_FONT);
  dialog.clearItems(IDC_PALETTE);
  for (uint16_t id = IDS_PALETTE_FIRST; id <= IDS_PALETTE_LAST; ++id) dialog.addItem(IDC_PALETTE, loadString(id));
}

}  // namespace

uint32_t refreshDelayMs() { return uint32_t(settings().UpdateDelay); }

bool mainDialogControlEvent(DialogFacade& dialog, uint32_t id, ControlEvent event) {
  ColourPicker picker = [&dialog](uint32_t* colour) {
    return requestColour(pluginState().hostParams, dialog.window(), colour);
  };
  CommandResult r = handleControlCommand(dialog, id, event, picker);
  if (r.checkBuildButton) updateBuildButton(dialog);
  // The page follows the list at once, also when it is changed from the keyboard
  // without opening it; the variable is stored at close-up as for every list.
  if (id == IDC_EFFECT && (event == ControlEvent::kCloseUp || event == ControlEvent::kChange))
    selectEffect(dialog, dialog.selection(IDC_EFFECT));
  return r.restartRefresh;
}

SampleStill mainDialogSample(DialogFacade& dialog, int width, int height) {
  const EffectRow& row = effectRow(clampEffectIndex(dialog.selection(IDC_EFFECT)));
  EffectContext ctx;
  ctx.window = &dialog;
  ctx.sampleWidth = width;
  ctx.sampleHeight = height;
  ctx.sample = 1;
  SampleStill still;
  if (effectPreview(row, ctx) && ctx.image) {
    still.image = ctx.image;
    still.background = effectQueryBackground(row, dialog, 0);
  } else if (ctx.image) {
    memFree(ctx.image);  // a failed preview's leftovers are not shown
  }
  return still;
}

void mainDialogDestroy(DialogFacade& dialog) {
  settings().IsFirst = 0;
  saveSettings();
  releaseEffectPages(dialog);
  setHelpHandler(nullptr);
  // The buttons' services were this run's (its host, its files).
  setMaterialButtonServices(MaterialButtonServices());
}

bool mainDialogInit(DialogFacade& dialog, const uint8_t* params, int screenWidth, int screenHeight) {
  PluginState& state = pluginState();
  state.hostParams = params;
  // The animation selectors of the pages ask this run's host for animations.
  AnimationSelectorServices selector;
  selector.hostParams = params;
  selector.highlightColour = buttonHighlightColour();
  selector.showMessage = [](WindowId owner, const std::string& text) { showMessage(owner, text); };
  setAnimationSelectorServices(selector);
  // The library, gradient, texture and tile dialogs ask for their help topics
  // through the same host call as the dialog's own Help button.
  setHelpHandler([params](const std::string& topic) {
    std::string name = pluginState().moduleFolder + kHelpFileName + "#" + topic;
    return hostCall(params, nullptr, kHostHelp, 0, const_cast<char*>(name.c_str())) != 0;
  });
  setMaterialButtonServices(materialServices(params));

  // The host may change the size file dialogs open at; what it leaves alone
  // stays as this process last remembered it.
  FileDialogSize remembered = rememberedFileDialogSize();
  uint8_t size[8] = {};
  writeI32(size, remembered.width);
  writeI32(size + 4, remembered.height);
  hostCall(params, nullptr, kHostFileDialogSize, 0, size);
  rememberFileDialogSize({std::min(readI32(size), screenWidth), std::min(readI32(size + 4), screenHeight)});

  int32_t value = 0;
  state.editListMaximum = hostIntegerSetting(params, "EditListMaximum", &value) ? value : 0;
  value = 0;
  setSoftButtons(hostIntegerSetting(params, "SoftButtons", &value) && value != 0);

  prepareFolders();
  loadSettings();
  fillMainLists(dialog);
  for (const MainBinding& b : kMainBindings) bindControl(dialog, b.id, b.kind, mainVariable(b.key));
  // The effect list is filled with the pages; its selection follows below.
  dialog.clearItems(IDC_EFFECT);
  if (!createEffectPages(dialog)) {
    showMessage(dialog.window(), kPluginInitFailedMessage);
    return false;
  }
  selectEffect(dialog, settings().MainEffect);
  updateBuildButton(dialog);
  return true;
}

void mainDialogDocumentLoaded(DialogFacade& dialog) {
  // A document that selects no effect (an index out of range) shows the
  // first one, and the list and its variable say so: what is shown is what
  // a build makes.
  selectEffect(dialog, dialog.selection(IDC_EFFECT));
  settings().MainEffect = dialog.selection(IDC_EFFECT);
  updateBuildButton(dialog);
}

bool mainDialogDocumentCommand(DialogFacade& dialog, DocumentCommand command, const DocumentChooser& choose) {
  SettingsRecord& s = settings();
  if (command == DocumentCommand::kSave && !isUntitledDocument(s.CurrentFileName)) {
    saveDocument(dialog, s.CurrentFileName);
    return false;
  }
  if (command == DocumentCommand::kSave) command = DocumentCommand::kSaveAs;
  // The setting is copied whole (setSettingText clears a setting-sized
  // buffer); the host and the file dialog see at most a 260-byte path in it.
  char path[kSettingTextSize] = {};
  setSettingText(path, s.CurrentFileName);
  const uint8_t* params = pluginState().hostParams;
  hostCall(params, nullptr, kHostBeforeFileDialog, 0, path);
  const bool chosen = choose && choose(command, path);
  hostCall(params, nullptr, kHostAfterFileDialog, 0, path);
  if (!chosen) return false;
  path[sizeof path - 1] = '\0';
  setSettingText(s.CurrentFileName, path);
  if (command == DocumentCommand::kSaveAs) {
    saveDocument(dialog, path);
    return false;
  }
  return openDocument(dialog, path);
}

bool mainDialogCommand(DialogFacade& dialog, uint32_t id, int* endWith) {
  switch (id) {
    case IDC_BUILD:
      // A successful Build closes the dialog; after a failure it stays open.
      if (!runBuild(dialog, pluginState().hostParams, 0)) return false;
      *endWith = IDC_BUILD;
      return true;
    case IDC_TEST:
      runBuild(dialog, pluginState().hostParams, 1);
      return false;
    case IDC_CANCEL:
      *endWith = IDC_CANCEL;
      return true;
    case IDC_HELP_BUTTON: {
      std::string name = pluginState().moduleFolder + kHelpFileName;
      if (!hostCall(pluginState().hostParams, nullptr, kHostHelp, 0, const_cast<char*>(name.c_str())))
        showMessage(dialog.window(), kHelpErrorMessage);
      return false;
    }
    default:
      return false;
  }
}

}  // namespace gw
