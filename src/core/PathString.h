#pragma once
// The patient folder rule. The system builds its paths as text with "\" separators, the form
// that index rows (FILEPATH) and folder trees made on other workstations carry; they become
// "/" paths only where a file is touched, through toNativePath.

#include <QString>

class TRegistory;

// "\" -> "/": the form the file system takes.
QString toNativePath(const QString& systemPath);
// "/" -> "\": the form the system builds and stores.
QString toSystemPath(const QString& nativePath);

// The four-level folder of a patient below the chart base folder: the eight-digit patient
// number in four pairs, each pair framed by its level's prefix and suffix.
class TPathString {
public:
    // Base: the home folder; prefixes "A" to "D"; suffixes empty; patient number 0.
    TPathString();

    // Stores the patient number modulo 100000000.
    void SetNumber(int patientNo);
    int Number() const { return number_; }

    // "\" + Front[0] + D1 + Back[0] + "\" + ... + Front[3] + D4 + Back[3], system form. This is
    // what the index keeps in FILEPATH (never reduced).
    QString RelativeFolder() const;

    // Base (either form) + RelativeFolder(), system form, with every "\" that is followed by
    // another "\" dropped; a leading "\\" of a network share is kept.
    QString FullFolder() const;

    QString Base;
    QString Front[4];
    QString Back[4];

private:
    int number_ = 0;
};

// Drops every "\" that is followed by another "\", except a leading "\\" (network share).
QString reduceSeparators(const QString& systemPath);

// Takes the base folder (Target) and the eight level prefixes and suffixes from the settings.
void setFolderRule(TPathString& path, const TRegistory& settings);

class TDirFile : public TPathString {
public:
    // True when the full patient folder exists or could be made with its missing parents.
    bool EnsureFolder() const;
};
