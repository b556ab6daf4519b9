#pragma once
// The cursors of the drawing tools, made from the program's resources and registered under
// fixed numbers when the main window is created.

#include <QCursor>
#include <QString>

enum ToolCursorNumber {
    crPen = 100,    // "PENCS"
    crEraser = 101, // "ERASECS"
    crLine = 102,   // "LINECS"
    crCircle = 103, // "CIRCLECS"
    crRect = 104,   // "RECTCS"
    crSpoit = 105,  // "SPOITCS"
    crTitle = 106,  // "TITLECS"
};

// Loads the seven cursors from the resources; called once at start.
void RegisterToolCursors();
// The cursor registered under a number; the default arrow for an unknown number.
QCursor toolCursor(int number);
// The resource name of a cursor number ("PENCS" for 100), empty when unknown.
QString toolCursorName(int number);
