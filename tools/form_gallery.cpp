// Draws every form of the program, in fixed states, for people to look at.
//   form_gallery.exe OUTDIR             each form into OUTDIR\FORM.bmp, headless
//   form_gallery.exe OUTDIR --show FORM that form shown live until it is closed
// Each form's row in the table below builds its state; a new form adds its rows.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/AllForms.h"
#include "app/FormShot.h"
#include "app/SEresource.h"
#include "app/Startup.h"
#include "engine/Utils.h"
#include "framework/core/bitmap.h"
#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "framework/gui/screen.h"
#include "skin/ksSkinEdit.h"
#include "skin/ksSkinGauge.h"
#include "skin/ksSkinListBox.h"
#include "skin/ksSkinShellDriveComboBox.h"
#include "skin/ksSkinSpeedButton.h"
#include "skin/ksSkinXFormButton.h"

namespace {

struct TGalleryForm {
  const char* name;  // the file name, and the --show argument
  std::function<TCustomForm*()> form;
  // Puts the form into the state the picture shows.
  std::function<void(TCustomForm*)> state = [](TCustomForm*) {};
};

const std::vector<TGalleryForm>& Forms() {
  static const std::vector<TGalleryForm> forms = {
      {"frmMain", [] { return frmMain; },
       [](TCustomForm*) {
         StateChangeList()->SetControlState(frmMain->imgRecover, 3);
         frmMain->cboDriveList->SetDrive('K');  // the demo card, where it is mapped
       }},
      {"frmSplash", [] { return frmSplash; }},
      {"frmGenericWait", [] { return frmGenericWait; }, [](TCustomForm*) {
         frmGenericWait->SetProgressPosition(0);
         frmGenericWait->ShowWait();
       }},
      {"frmGenericWait_progress", [] { return frmGenericWait; },
       [](TCustomForm*) {
         frmGenericWait->ShowProgress();
         frmGenericWait->SetProgressMax(100);
         frmGenericWait->SetProgressPosition(40);
       }},
      {"frmSecureErase", [] { return frmSecureErase; },
       [](TCustomForm*) {
         frmSecureErase->FormActivate(nullptr);
         frmSecureErase->pbProgress->SetMaxValue(1000);
         frmSecureErase->pbProgress->SetValue(420);
         for (int i = 0; i < 3; ++i) frmSecureErase->EngineWriteError(i, 2);
         frmMain->SetEnabled(true);
         Screen->SetCursor(crDefault);
       }},
      {"frmBackup", [] { return frmBackup; },
       [](TCustomForm*) {
         frmBackup->Drive = String(1, 'K');
         frmBackup->FormActivate(nullptr);
         frmBackup->txtBackupName->SetText("Holiday card");
         frmBackup->pbProgress->SetMaxValue(1000);
         frmBackup->pbProgress->SetValue(650);
         frmBackup->pbProgress->SetVisible(true);
         frmBackup->btnBackup->SetEnabled(false);
         frmBackup->txtBackupName->SetEnabled(false);
       }},
      {"frmRestore", [] { return frmRestore; },
       [](TCustomForm*) {
         frmRestore->Drive = String(1, 'K');
         frmRestore->FormActivate(nullptr);
         frmRestore->lbFiles->Clear();
         frmRestore->lbFiles->Items()->Add("Holiday card.KV3");
         frmRestore->lbFiles->Items()->Add("Before erase.KV3");
         frmRestore->lbFiles->SetItemIndex(0);
         frmRestore->pbRestore->SetMaxValue(1000);
         frmRestore->pbRestore->SetValue(300);
         frmRestore->pbRestore->SetVisible(true);
         frmRestore->btnRestore->SetEnabled(false);
       }},
  };
  return forms;
}

const TGalleryForm* Find(const std::string& name) {
  for (const TGalleryForm& f : Forms())
    if (name == f.name) return &f;
  return nullptr;
}

int ShowLive(const TGalleryForm& row) {
  TCustomForm* form = row.form();
  row.state(form);
  if (form == frmMain) {
    Application->Run();
  } else {
    form->Hide();  // a state may have shown it modeless
    form->ShowModal();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool show = argc == 4 && std::string(argv[2]) == "--show";
  if (argc != 2 && !show) {
    std::fprintf(stderr, "usage: form_gallery OUTDIR [--show FORM]\n");
    return 2;
  }
  const std::string outDir = std::string(argv[1]) + "\\";
  CreateDirectoryA(outDir.c_str(), nullptr);
  // A first start would choose the documents folder as the output folder.
  ScopedSeam<TSystemSeam> documents({.ShellFolderPath = [&](int, std::string& path) {
    path = outDir + "Documents";
    return true;
  }});
  try {
    new TApplication(nullptr);
    Application->Initialize();
    Application->SetTitle("Korvalo 3");
    SplashShown = true;
    if (!CreateForms()) {
      std::fprintf(stderr, "form_gallery: the main window could not be made\n");
      return 1;
    }
    if (show) {
      const TGalleryForm* row = Find(argv[3]);
      if (!row) {
        std::fprintf(stderr, "form_gallery: no form %s\n", argv[3]);
        return 2;
      }
      return ShowLive(*row);
    }
    for (const TGalleryForm& row : Forms()) {
      TCustomForm* form = row.form();
      row.state(form);
      TBitmap shot;
      ShootForm(*form, shot);
      form->Hide();
      shot.SaveToFile(outDir + row.name + ".bmp");
      std::printf("%s%s.bmp: %d x %d\n", outDir.c_str(), row.name, shot.Width(), shot.Height());
    }
    frmMain->Close();
    FreeAndNil(Application);
    FreeStateChangeList();
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "form_gallery: %s\n", e.what());
    return 1;
  }
}
