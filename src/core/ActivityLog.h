#pragma once
// The activity log of one run: Log/Log<stamp>.txt, code page 932, one line per event ended by
// CR LF, kept open until the program ends.

#include <QDateTime>
#include <QFile>
#include <QString>

#include <functional>

class ActivityLog {
public:
    ActivityLog();
    ~ActivityLog();
    ActivityLog(const ActivityLog&) = delete;
    ActivityLog& operator=(const ActivityLog&) = delete;

    // Creates the file and keeps it open. A file of the same name (a start in the same
    // second, or after the clock was set back) keeps its lines; new ones are appended.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }

    // dateTimeText(now) + " " + text. False when the line could not be written.
    bool writeTimed(const QString& text);
    // The text as it stands. False when the line could not be written.
    bool writeUntimed(const QString& text);

    // The clock of the timed lines; tests fix it.
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

private:
    QFile file_;
    std::function<QDateTime()> clock_;
};
