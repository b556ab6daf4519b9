#pragma once
// A real index file in a temporary folder, opened, with helpers to fill it and to look at
// the bytes SQLite holds.

#include "index/ChartIndex.h"
#include "index/IndexFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

class IndexFixture : public ::testing::Test {
protected:
    void SetUp() override {
        createIndexFile(path());
        index.open(path());
    }

    QString path() const { return dir.file(QStringLiteral("WembaTovaneDb.sqb")); }

    static IndexRow volume(int patientNo, int volumeNo, const QString& name = QString()) {
        IndexRow row;
        row.patientNo = patientNo;
        row.volumeNo = volumeNo;
        row.tovaneDate = QStringLiteral("2011/05/06 9:03:07");
        row.filePath = QStringLiteral("\\00\\00\\00\\%1").arg(patientNo, 2, 10, QChar('0'));
        row.fileName = QStringLiteral("HP%1_%2.pdf").arg(patientNo).arg(volumeNo);
        row.inetPath = QStringLiteral("/charts") + QString(row.filePath).replace('\\', '/') + '/' +
                       row.fileName;
        row.keys[0] = name;
        return row;
    }

    // One value of the file as SQLite holds it, read over a connection of its own.
    QByteArray raw(const char* sql) const {
        SqliteDatabase db(path(), SqliteDatabase::Mode::ReadWrite);
        SqliteStatement s(db, sql);
        return s.step() ? s.text("V") : QByteArray("<no row>");
    }

    static std::vector<int> volumesOf(const std::vector<IndexRow>& rows) {
        std::vector<int> v;
        for (const IndexRow& r : rows)
            v.push_back(r.volumeNo);
        return v;
    }
    static std::vector<int> patientsOf(const std::vector<IndexRow>& rows) {
        std::vector<int> v;
        for (const IndexRow& r : rows)
            v.push_back(r.patientNo);
        return v;
    }

    TempDir dir;
    ChartIndex index;
};
