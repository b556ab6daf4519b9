// Connecting the chart index when the main window is first shown, and closing it at the end.

#include "chartwork/MainForm.h"

#include "platform/Dialogs.h"

bool TMainForm::ConnectIndex() {
    try {
        Index.open(Ws.indexFile());
        return true;
    } catch (const std::exception&) {
        Dialogs::instance().message(
            this, Dialogs::Kind::Error,
            QStringLiteral("データベースへの接続をキャンセルします。\nシステムを終了します。"),
            Dialogs::Yes);
        AddError(QStringLiteral("*** DataBase Connect Error"));
        return false;
    }
}

void TMainForm::DisconnectIndex() {
    Index.close();
}
