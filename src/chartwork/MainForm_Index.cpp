// Connecting the chart index when the main window is first shown, and closing it at the end.

#include "chartwork/MainForm.h"

#include "platform/Dialogs.h"

bool TMainForm::ConnectIndex() {
    IndexConnected = true;
    return true;
}

void TMainForm::DisconnectIndex() {
    IndexConnected = false;
}
