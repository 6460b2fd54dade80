#include "app/Splash.h"

#include "app/ArtResources.h"

TfrmSplash::TfrmSplash(TComponent* AOwner) : TForm(AOwner), imgSplash(new TImage(this)) {
  SetBorderStyle(bsNone);
  SetBorderIcons(0);
  Position = poScreenCenter;
  SetClientSize(443, 209);
  imgSplash->SetParent(this);
  imgSplash->SetAlign(alClient);
  LoadJpegResource(imgSplash->Picture(), kSplashResource);
}
