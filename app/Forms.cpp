#include "app/Forms.h"

TfrmMain* frmMain = nullptr;
TfrmSplash* frmSplash = nullptr;
TfrmSelectTypes* frmSelectTypes = nullptr;
TfrmSecureErase* frmSecureErase = nullptr;
TfrmBurn* frmBurn = nullptr;
TfrmRecovery* frmRecovery = nullptr;
TfrmFeedback* frmFeedback = nullptr;
TfrmOutputDIR* frmOutputDIR = nullptr;
TfrmBrowse* frmBrowse = nullptr;
TfrmGenericWait* frmGenericWait = nullptr;
TfrmBackup* frmBackup = nullptr;
TfrmRestore* frmRestore = nullptr;
