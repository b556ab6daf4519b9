// The chart workstation: creates the main window, runs its creation steps and the event
// loop until the main window closes.

#include "chartwork/MainForm.h"
#include "core/Workspace.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TovaneFileLite"));
    QApplication::setOrganizationName(QStringLiteral("Nadrel"));
    // Slips and pages are laid out for these Windows fonts; the IPA fonts share their metrics.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));

    TMainForm form(Workspace{programDir()});
    if (!form.FormCreate())
        return 1;
    form.show();
    return app.exec();
}
