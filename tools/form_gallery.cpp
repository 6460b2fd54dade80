// Draws every form of the program, in fixed states, for people to look at.
//   form_gallery.exe OUTDIR             each form into OUTDIR\FORM.bmp, headless
//   form_gallery.exe OUTDIR --show FORM that form shown live until it is closed
// Each form's row in the table below builds its state; a new form adds its rows.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "app/AllForms.h"
#include "app/ArtResources.h"
#include "app/FilmStrip.h"
#include "app/FormShot.h"
#include "app/SEresource.h"
#include "app/Startup.h"
#include "app/Texts.h"
#include "engine/PassFolders.h"
#include "engine/Utils.h"
#include "framework/core/bitmap.h"
#include "framework/core/fileutils.h"
#include "framework/core/seams.h"
#include "framework/core/streams.h"
#include "framework/gui/application.h"
#include "framework/gui/screen.h"
#include "outside/DiscWriterX.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/boxes/ksSkinListBox.h"
#include "skin/controls/ksSkinCheckRadio.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinSpeedButton.h"
#include "skin/controls/ksSkinXFormButton.h"
#include "skin/shell/ksSkinShellDriveComboBox.h"

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
  f.SetCaption(LangText(TextId::RecoveringDrive) + " K");
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

void WriteText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
  CloseHandle(h);
}

// The burn dialog's writer: a stand-in with a blank 650 MB disc in its tray, and a
// few recovered files to burn. The writer is read when the dialog is made.
std::string burnFolder;
void PrepareBurnFixture(const std::string& outDir) {
  burnFolder = outDir + "burn\\";
  for (const char* sub : {"", "drive", "out", "out\\DuvidAziz", "out\\DezoDozi"})
    CreateDirectoryA((burnFolder + sub).c_str(), nullptr);
  WriteText(burnFolder + "DiscWriterX.ini", "[Writer0]\r\nFolder=" + burnFolder +
                                                "drive\r\nText1=F\r\nText2=1.0\r\nText3=Stand-in Writer\r\n"
                                                "MaxSpeed=48\r\nBurnProof=1\r\nCanErase=1\r\n");
  WriteText(burnFolder + "drive\\disc.ini", "[Disc]\r\nBlocks=333000\r\n");
  const std::pair<const char*, size_t> files[] = {
      {"DuvidAziz\\IMG_0001.JPG", 1843200}, {"DuvidAziz\\IMG_0002.JPG", 2150400}, {"DezoDozi\\KV4711.JPG", 990000}};
  for (const auto& [name, bytes] : files) WriteText(burnFolder + "out\\" + name, std::string(bytes, 'k'));
  TDiscWriterX::SetConfigurationFile(burnFolder + "DiscWriterX.ini");
}

// Opened on its blank disc, after the first poll.
void BurnOnABlankDisc(TCustomForm*) {
  frmMain->Engine->DestinationFolder = burnFolder + "out\\";
  frmBurn->Show();
  Application->ProcessMessages();
  frmBurn->tmrDiscInfoTimer(frmBurn);
}

// Half-way through disc 1 of 2: the progress gauges inside the information group.
void BurnWriting(TCustomForm* form) {
  BurnOnABlankDisc(form);
  frmBurn->DisableControls();
  frmBurn->txtVolumeID->SetText("Photos");
  frmBurn->txtVolumeID->SetEnabled(false);
  frmBurn->btnStart->SetVisible(false);
  frmBurn->btnEraseCD->SetVisible(false);
  frmBurn->ShowProgressControls(true);
  frmBurn->btnStop->SetVisible(true);
  frmBurn->lblCDNumber->SetCaption("1/2");
  frmBurn->pbReadBuffer->SetValue(100);
  frmBurn->pbDeviceBuffer->SetValue(87);
  frmBurn->pbTrack->SetValue(42);
  frmBurn->pbTotal->SetValue(21);
  frmBurn->pnlStatus->SetCaption("Blocks written: 1024");
}

struct TGalleryForm {
  const char* name;  // the file name, and the --show argument
  std::function<TCustomForm*()> form;
  // Puts the form into the state the picture shows.
  std::function<void(TCustomForm*)> state = [](TCustomForm*) {};
};

// A 24-bit bitmap written as a JPEG file: what a camera leaves on a card.
void SaveJpeg(TBitmap& bitmap, const std::string& fileName) {
  FILE* out = std::fopen(fileName.c_str(), "wb");
  if (!out) return;
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out);
  info.image_width = static_cast<JDIMENSION>(bitmap.Width());
  info.image_height = static_cast<JDIMENSION>(bitmap.Height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(bitmap.Width()) * 3);
  while (info.next_scanline < info.image_height) {
    const auto* bgr = static_cast<const uint8_t*>(bitmap.ScanLine(static_cast<int>(info.next_scanline)));
    for (size_t x = 0; x < row.size(); x += 3) {
      row[x] = bgr[x + 2];
      row[x + 1] = bgr[x + 1];
      row[x + 2] = bgr[x];
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(out);
}

// Count landscapes of our own, written as JPEG files into a pass's folder.
void Landscapes(const std::string& pass, int count) {
  ForceDirectories(pass);
  for (int n = 0; n < count; ++n) {
    const int i = n % 10;
    TBitmap b(640, 480);
    TCanvas& c = *b.Canvas();
    for (int y = 0; y < 300; ++y) {  // the sky, darker at the top
      c.Pen()->SetColor(static_cast<TColor>(RGB(40 + y / 4 + i * 8, 90 + y / 3, 200 - i * 6)));
      c.MoveTo(0, y);
      c.LineTo(640, y);
    }
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(static_cast<TColor>(RGB(250, 220 - i * 10, 80)));
    c.Ellipse(80 + i * 45, 60 + n, 160 + i * 45, 140 + n);  // the sun
    c.Brush()->SetColor(static_cast<TColor>(RGB(40 + i * 12, 120 + i * 5, 50)));
    c.Polygon({TPoint{0, 480}, TPoint{0, 300 - i * 8}, TPoint{220, 200 + i * 6}, TPoint{420, 320}, TPoint{640, 240},
               TPoint{640, 480}});  // the hills
    c.Brush()->SetColor(static_cast<TColor>(RGB(30, 70 + i * 9, 150)));
    c.FillRect(TRect{0, 420, 640, 480});  // the lake
    char name[32];
    wsprintfA(name, "FILE%04d.JPG", n + 1);
    SaveJpeg(b, pass + name);
  }
}

// Recovered files for the browser: ten landscapes, a truncated picture and a document
// from the quick scan, which get the library's placeholders, and thirty from the deep scan.
void RecoveredFiles() {
  const std::string output = frmMain->Engine->GetDestinationFolder();
  const std::string pass = output + kDuvidAzizFolder;
  Landscapes(pass, 10);
  Landscapes(output + kDezoDoziFolder, 30);
  const String whole = pass + "FILE0001.JPG";
  TFileStream in(whole, fmOpenRead | fmShareDenyNone);
  std::string head(2000, '\0');
  in.Read(head.data(), static_cast<int>(head.size()));
  TFileStream cut(pass + "FILE0011.JPG", fmCreate);
  cut.Write(head.data(), static_cast<int>(head.size()));
  TFileStream doc(pass + "FILE0012.DOC", fmCreate);
  doc.Write("\xD0\xCF\x11\xE0", 4);
}

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
      {"frmBurn", [] { return frmBurn; }, BurnOnABlankDisc},
      {"frmBurn_writing", [] { return frmBurn; }, BurnWriting},
      {"frmBrowse", [] { return frmBrowse; },
       [](TCustomForm*) {
         RecoveredFiles();
         frmBrowse->Show();
         TImage* second = frmBrowse->Thumbnails.at(1)->Preview->Image;
         second->OnClick(second);
       }},
      {"frmBrowse_deep", [] { return frmBrowse; },
       [](TCustomForm*) {
         frmBrowse->Show();
         frmBrowse->radDeep->SetChecked(true);
       }},
      {"frmOutputDIR", [] { return frmOutputDIR; }, [](TCustomForm*) { frmOutputDIR->FormActivate(frmOutputDIR); }},
      {"frmSelectTypes", [] { return frmSelectTypes; },
       [](TCustomForm*) { frmSelectTypes->FormActivate(frmSelectTypes); }},
      {"frmFeedback", [] { return frmFeedback; }, [](TCustomForm*) { frmFeedback->FormActivate(frmFeedback); }},
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
    PrepareBurnFixture(outDir);
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
