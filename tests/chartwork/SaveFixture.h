#pragma once
// Main window tests of saving and erasing: the selection tests' workspace with a chart base
// folder, fixed clocks, the activity log read back, the raw index row, and the desktop trash
// kept inside the test's own folder.

#include "SelectionFixture.h"
#include "chartwork/ErrorLogForm.h"
#include "chartwork/MainForm.h"
#include "core/Cp932.h"
#include "core/PathString.h"
#include "index/Sqlite.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>

class SaveFixture : public SelectionFixture {
protected:
    SaveFixture() {
        // A trash that cannot be made sends Qt's trash to the current folder; keep that in
        // the test's own folder too.
        oldCurrent_ = QDir::currentPath();
        QDir::setCurrent(temp.path());
        oldDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", temp.file(QStringLiteral("data")).toLocal8Bit());
    }
    ~SaveFixture() override {
        QDir::setCurrent(oldCurrent_);
        if (oldDataHome_.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", oldDataHome_);
    }

    // The selection tests' window, with every clock of the save set to `at`.
    std::unique_ptr<TMainForm> startSaveForm(const QDateTime& at = savedAt()) {
        auto form = startSelectionForm();
        form->Reg.SetHPCode(QStringLiteral("1234567"));
        form->Reg.HPName = QStringLiteral("トヴァネ医院");
        form->Reg.WriteDate = false;
        // The folder rule of patientFolder(): levels "A" to "D" without suffixes.
        form->Reg.L1Front = QStringLiteral("A");
        form->Reg.L2Front = QStringLiteral("B");
        form->Reg.L3Front = QStringLiteral("C");
        form->Reg.L4Front = QStringLiteral("D");
        setClock(*form, at);
        return form;
    }

    static void setClock(TMainForm& form, const QDateTime& at) {
        form.SaveClock = [at] {
            return at;
        };
        form.Activity.setClock([at] { return at; });
        form.PdfWriteForm.setClock([at] { return at; });
    }

    static QDateTime savedAt() { return QDateTime(QDate(2026, 12, 11), QTime(9, 3, 7)); }

    // The native path of a volume saved by the window with the fixture's settings.
    QString savedPath(int patientNo, int volumeNo) const {
        return cleanPath(target() + patientFolder(patientNo) + QLatin1Char('/') +
                         volumeFileName(patientNo, volumeNo));
    }
    // A path as the window shows it in logs and messages: native, without doubled separators.
    static QString cleanPath(const QString& path) {
        return toNativePath(reduceSeparators(toSystemPath(path)));
    }

    // The activity log's lines, decoded; each must end with CR LF.
    static QStringList activityLines(const TMainForm& form) {
        const QByteArray bytes = readFile(form.Activity.path());
        QStringList lines;
        for (const QByteArray& line : bytes.split('\n')) {
            if (line.isEmpty())
                continue;
            EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
            lines << fromCp932(line.chopped(1));
        }
        return lines;
    }

    // The index rows of one volume as stored, column name to raw bytes.
    QList<QMap<QByteArray, QByteArray>> rawRows(int patientNo, int volumeNo) const {
        SqliteDatabase db(workspace.indexFile(), SqliteDatabase::Mode::ReadWrite);
        SqliteStatement select(db, "select * from PDF_PATH where TOVANENO = ? and TOVANESUBNO = ?");
        select.bind(1, qint64(patientNo));
        select.bind(2, qint64(volumeNo));
        QList<QMap<QByteArray, QByteArray>> rows;
        while (select.step()) {
            QMap<QByteArray, QByteArray> row;
            for (const char* column : {"TOVANEDATE", "FILEPATH", "INETPATH", "FILENAME", "KEY1",
                                       "KEY2", "KEY3", "KEY4", "KEY5", "KEY6", "KEY7", "KEY8"})
                row[column] = select.text(column);
            rows << row;
        }
        return rows;
    }

    // Runs SQL on the index file from a connection of the test's own.
    void execIndex(const char* sql) const {
        SqliteDatabase db(workspace.indexFile(), SqliteDatabase::Mode::ReadWrite);
        db.exec(sql);
    }

    // qpdf's verdict on a file: its exit code 0 and no warning.
    static void expectQpdfClean(const QString& path) {
        QProcess qpdf;
        qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
        ASSERT_TRUE(qpdf.waitForFinished(60000));
        EXPECT_EQ(qpdf.exitCode(), 0) << qpdf.readAllStandardOutput().toStdString()
                                      << qpdf.readAllStandardError().toStdString();
    }

    // The files of the desktop trash of this test.
    QStringList trashedFiles() const {
        return QDir(temp.file(QStringLiteral("data/Trash/files"))).entryList(QDir::Files);
    }

private:
    QByteArray oldDataHome_;
    QString oldCurrent_;
};
