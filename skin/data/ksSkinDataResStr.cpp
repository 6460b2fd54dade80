#include "skin/data/ksSkinDataResStr.h"

#include <array>
#include <string_view>

#include "framework/core/sysutils.h"

namespace {

struct ResDefault {
  const char* name;
  const char* text;
  bool builtIn;  // also shown without a resource component
};

constexpr std::array<ResDefault, TksResourceStrData::kDefaultCount> kDefaults = {{
    {"MI_MINCAPTION", "Mi&nimize", true},
    {"MI_MAXCAPTION", "Ma&ximize", true},
    {"MI_CLOSECAPTION", "&Close", true},
    {"MI_RESTORECAPTION", "&Restore", true},
    {"MI_MINTOTRAYCAPTION", "Minimize to &Tray", true},
    {"MI_ROLLUPCAPTION", "Ro&llUp", true},
    {"MINBUTTON_HINT", "Minimize", true},
    {"MAXBUTTON_HINT", "Maximize", true},
    {"CLOSEBUTTON_HINT", "Close", true},
    {"TRAYBUTTON_HINT", "Minimize to Tray", true},
    {"ROLLUPBUTTON_HINT", "Roll Up", true},
    {"MENUBUTTON_HINT", "System menu", true},
    {"EDIT_UNDO", "Undo", true},
    {"EDIT_COPY", "Copy", true},
    {"EDIT_CUT", "Cut", true},
    {"EDIT_PASTE", "Paste", true},
    {"EDIT_DELETE", "Delete", true},
    {"EDIT_SELECTALL", "Select All", true},
    {"MSG_BTN_YES", "&Yes", true},
    {"MSG_BTN_NO", "&No", true},
    {"MSG_BTN_OK", "OK", true},
    {"MSG_BTN_CANCEL", "Cancel", true},
    {"MSG_BTN_ABORT", "&Abort", true},
    {"MSG_BTN_RETRY", "&Retry", true},
    {"MSG_BTN_IGNORE", "&Ignore", true},
    {"MSG_BTN_ALL", "&All", true},
    {"MSG_BTN_NOTOALL", "N&oToAll", true},
    {"MSG_BTN_YESTOALL", "&YesToAll", true},
    {"MSG_BTN_HELP", "&Help", true},
    {"MSG_BTN_OPEN", "&Open", true},
    {"MSG_BTN_SAVE", "&Save", true},
    {"MSG_BTN_BACK_HINT", "Go To Last Folder Visited", true},
    {"MSG_BTN_UP_HINT", "Up One Level", true},
    {"MSG_BTN_NEWFOLDER_HINT", "Create New Folder", true},
    {"MSG_BTN_VIEWMENU_HINT", "View Menu", true},
    {"MSG_BTN_STRETCH_HINT", "Stretch Picture", true},
    {"MSG_FILENAME", "File name:", true},
    {"MSG_FILETYPE", "File type:", true},
    {"MSG_NEWFOLDER", "New Folder", true},
    {"MSG_LV_DETAILS", "Details", true},
    {"MSG_LV_ICON", "Large icons", true},
    {"MSG_LV_SMALLICON", "Small icons", true},
    {"MSG_LV_LIST", "List", true},
    {"MSG_PREVIEWSKIN", "Preview", false},
    {"MSG_PREVIEWBUTTON", "Button", false},
    {"MSG_CAP_WARNING", "Warning", true},
    {"MSG_CAP_ERROR", "Error", true},
    {"MSG_CAP_INFORMATION", "Information", true},
    {"MSG_CAP_CONFIRM", "Confirm", true},
    {"CALC_CAP", "Calculator", false},
    {"ERROR", "Error", false},
    {"COLORGRID_CAP", "Basic colors", false},
    {"CUSTOMCOLORGRID_CAP", "Custom colors", false},
    {"ADDCUSTOMCOLORBUTTON_CAP", "Add to Custom Colors", false},
    {"FONTDLG_COLOR", "Color:", false},
    {"FONTDLG_NAME", "Name:", false},
    {"FONTDLG_SIZE", "Size:", false},
    {"FONTDLG_HEIGHT", "Height:", false},
    {"FONTDLG_EXAMPLE", "Example:", false},
    {"FONTDLG_STYLE", "Style:", false},
    {"FONTDLG_SCRIPT", "Script:", false},
    {"DB_DELETE_QUESTION", "Delete record?", false},
    {"DB_MULTIPLEDELETE_QUESTION", "Delete all selected records?", false},
    {"NODISKINDRIVE", "There is no disk in Drive or Drive is not ready", false},
    {"NOVALIDDRIVEID", "Not a valid Drive ID", false},
    {"FLV_NAME", "Name", true},
    {"FLV_SIZE", "Size", true},
    {"FLV_TYPE", "Type", true},
    {"FLV_LOOKIN", "Look in: ", true},
    {"FLV_MODIFIED", "Modified", true},
    {"FLV_ATTRIBUTES", "Attributes", false},
    {"FLV_DISKSIZE", "Disk Size", false},
    {"FLV_FREESPACE", "Free Space", false},
}};

}  // namespace

TksResourceStrData::TksResourceStrData(TComponent* AOwner)
    : TComponent(AOwner), resStrings_(std::make_unique<TStringList>()) {
  LoadDefaultStrings();
  CharSet = DEFAULT_CHARSET;
}

void TksResourceStrData::LoadDefaultStrings() {
  for (const ResDefault& d : kDefaults) resStrings_->Add(String(d.name) + "=" + d.text);
}

String TksResourceStrData::GetResStr(const String& name) const {
  int i = resStrings_->IndexOfName(name);
  if (i < 0) return String();
  String line = resStrings_->Strings(i);
  return line.substr(line.find('=') + 1);
}

String BuiltInResStr(const String& name) {
  for (const ResDefault& d : kDefaults)
    if (d.builtIn && name == d.name) return d.text;
  return String();
}
