#include "skin/ksConst.h"

#include "skin/ksSkinData.h"

String KsResText(const TksSkinData* skin, const String& name) {
  if (skin && skin->ResourceStrData()) return skin->ResourceStrData()->GetResStr(name);
  return BuiltInResStr(name);
}
