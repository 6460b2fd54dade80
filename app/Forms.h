// The program's forms reach one another only through these references, filled by
// the main block as it creates them.
#pragma once

class TfrmMain;
class TfrmSplash;
class TfrmSelectTypes;
class TfrmSecureErase;
class TfrmBurn;
class TfrmRecovery;
class TfrmFeedback;
class TfrmOutputDIR;
class TfrmBrowse;
class TfrmGenericWait;
class TfrmBackup;
class TfrmRestore;

extern TfrmMain* frmMain;
extern TfrmSplash* frmSplash;
extern TfrmSelectTypes* frmSelectTypes;
extern TfrmSecureErase* frmSecureErase;
extern TfrmBurn* frmBurn;
extern TfrmRecovery* frmRecovery;
extern TfrmFeedback* frmFeedback;
extern TfrmOutputDIR* frmOutputDIR;
extern TfrmBrowse* frmBrowse;
extern TfrmGenericWait* frmGenericWait;
extern TfrmBackup* frmBackup;
extern TfrmRestore* frmRestore;
