#include "shellext/common/TransferFailure.h"

#include "texts/TextIds.h"
#include "winframe/Languages.h"
#include "winframe/Texts.h"

void ReportTransferNotStarted(HWND owner) {
    ShowTextMessage(owner, ChosenLanguage(), IDS_FATAL_CAPTION, MB_ICONERROR,
                    IDS_TRANSFER_NOT_STARTED);
}
