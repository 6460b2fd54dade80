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
#include "app/ArtResources.h"
#include "app/FilmStrip.h"
#include "app/FormShot.h"
#include "app/SEresource.h"
#include "app/Startup.h"
#include "app/Texts.h"
#include "engine/Utils.h"
#include "framework/core/bitmap.h"
#include "framework/core/streams.h"
#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "framework/gui/screen.h"
#include "skin/ksSkinCtrls.h"
#include "skin/ksSkinEdit.h"
#include "skin/ksSkinGauge.h"
#include "skin/ksSkinLabels.h"
#include "skin/ksSkinListBox.h"
#include "skin/ksSkinShellDriveComboBox.h"
#include "skin/ksSkinSpeedButton.h"
#include "skin/ksSkinXFormButton.h"

namespace {

// A JPEG of our own for the preview (the splash picture the program carries), saved
// for the film strip to draw through the correction library as it draws a recovered file.
String DemoPhoto() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const String path = String(temp) + "korvalo_gallery_photo.jpg";
  HRSRC found = FindResourceA(nullptr, kSplashResource, MAKEINTRESOURCEA(10));
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return path;
  TFileStream file(path, fmCreate);
  file.WriteBuffer(bytes, static_cast<int32_t>(SizeofResource(nullptr, found)));
  return path;
}

// The recovery dialog half-way through the deep scan of the demo card.
void RecoveryMidRun() {
  TfrmRecovery& f = *frmRecovery;
  f.SetCaption(LangText(102) + " K");
  f.lblMediaText->SetCaption("KORVALODEMO");
  f.lblCapacityText->SetCaption("16.00 MB");
  f.lblFileTypeText->SetCaption(CategoryLine(*frmMain->Engine));
  f.lblFilesFoundText->SetCaption("4");
  f.pbProgress->SetMaxValue(32768);
  f.pbProgress->SetValue(13107);
  f.lblFileRecoveredText->SetCaption("KV136.JPG");
  f.lblReadErrorsText->SetCaption("0");
  f.btnPauseResume->SetEnabled(true);
  TFilmStrip& strip = *f.FilmStrip;
  strip.Mode = 2;
  strip.PreviewImage = f.imgPreview;
  strip.Clear();
  strip.AddFile(DemoPhoto(), 1);
  strip.Cycle();
}

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
      {"frmRecovery", [] { return frmRecovery; }, [](TCustomForm*) { RecoveryMidRun(); }},
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
    FreeAndNil(frmMain);  // its clean-up frees five forms and clears their references
    FreeAndNil(Application);
    FreeStateChangeList();
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "form_gallery: %s\n", e.what());
    return 1;
  }
}
