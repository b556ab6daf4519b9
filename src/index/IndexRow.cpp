#include "index/IndexRow.h"

const char* columnName(IndexColumn column) {
    static const char* const names[] = {
        "TOVANENO", "TOVANESUBNO", "TOVANEDATE", "FILEPATH", "INETPATH", "FILENAME", "KEY1",
        "KEY2",     "KEY3",        "KEY4",       "KEY5",     "KEY6",     "KEY7",     "KEY8"};
    return names[int(column)];
}

int columnByteLimit(IndexColumn column) {
    switch (column) {
    case IndexColumn::TovaneNo:
    case IndexColumn::TovaneSubNo:
    case IndexColumn::TovaneDate:
        return 0;
    case IndexColumn::FilePath:
    case IndexColumn::InetPath:
        return 255;
    case IndexColumn::FileName:
        return 63;
    default:
        return 48;
    }
}
