#include "skin/data/ksConst.h"

#include "skin/data/ksSkinData.h"

String KsResText(const TksSkinData* skin, const String& name) {
  if (skin && skin->ResourceStrData()) return skin->ResourceStrData()->GetResStr(name);
  return BuiltInResStr(name);
}
