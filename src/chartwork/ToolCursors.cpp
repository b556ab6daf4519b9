#include "chartwork/ToolCursors.h"

#include <QHash>
#include <QPixmap>

namespace {

struct Entry {
    int number;
    const char* name;
    QPoint hotSpot;
};

// The eraser's hot spot is the middle of its square; the others point with their top-left.
const Entry entries[] = {
    {crPen, "PENCS", {0, 0}},       {crEraser, "ERASECS", {5, 5}}, {crLine, "LINECS", {0, 0}},
    {crCircle, "CIRCLECS", {0, 0}}, {crRect, "RECTCS", {0, 0}},    {crSpoit, "SPOITCS", {0, 0}},
    {crTitle, "TITLECS", {0, 0}},
};

QHash<int, QCursor>& registry() {
    static QHash<int, QCursor> cursors;
    return cursors;
}

} // namespace

void RegisterToolCursors() {
    Q_INIT_RESOURCE(cursors);
    for (const Entry& e : entries) {
        const QPixmap pixmap(QStringLiteral(":/cursors/") + QString::fromLatin1(e.name), "XPM");
        registry().insert(e.number, pixmap.isNull()
                                        ? QCursor(Qt::CrossCursor)
                                        : QCursor(pixmap, e.hotSpot.x(), e.hotSpot.y()));
    }
}

QCursor toolCursor(int number) {
    return registry().value(number, QCursor(Qt::ArrowCursor));
}

QString toolCursorName(int number) {
    for (const Entry& e : entries)
        if (e.number == number)
            return QString::fromLatin1(e.name);
    return {};
}
