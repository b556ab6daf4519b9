#pragma once
// All user settings of the workstation, held in memory for the whole run and kept in the
// settings file (one registry key, see SettingsFile.h). Loaded when the main window is first
// shown and written back when it closes; in between only memory changes.

#include <QString>
#include <QStringList>

class TRegistory {
public:
    TRegistory();

    // Puts every member back to its default.
    void SetDefaults();
    // Reads the store. A missing or unreadable store, or a number or flag that is absent or
    // stored with another type, leaves every member at its default. A text that is absent
    // reads as empty text.
    void Load();
    // Writes every member in table order. Values the object does not know (OrcaDbName,
    // OrcaHost, anything else) stay as they stand in the file. A failure is silent.
    void Save();

    // The first 16 (HPCode) or 4 (KaCode) bytes of the text in code page 932; a double-byte
    // character that would straddle the limit is dropped whole.
    void SetHPCode(const QString& code);
    void SetKaCode(const QString& code);

    // The settings file: $XDG_CONFIG_HOME/Nadrel/TovaneFileLite20.reg, else
    // ~/.config/Nadrel/TovaneFileLite20.reg, unless another path was set.
    QString storePath() const;
    void setStorePath(const QString& path) { storePath_ = path; }
    static QString defaultStorePath();

    // A text value that this object does not hold (OrcaDbName, OrcaHost), read from and
    // written to the file at once. Reading gives empty text when it is absent or not a text.
    QString readStoredText(const QString& name) const;
    bool writeStoredText(const QString& name, const QString& value) const;

    // The names of the values, in table order.
    static QStringList valueNames();

    // One member per value, in table order. The numbered values 1 to 8 are arrays 0 to 7.
    QString FileOpenDir;
    bool JpegType, TiffType, BitmapType, PngType;
    int Sequence, ImSize;
    bool OrcaOnline;
    QString Target;
    QString L1Front, L1Back, L2Front, L2Back, L3Front, L3Back, L4Front, L4Back;
    QString HPCode, HPName, KaCode;
    bool WriteInhibit, WriteDate, Stretch;
    int Quality, PdfPageWidth, PdfPageHeight, ImportFilter;
    bool KeyWordUse;
    int ShowImage;
    bool DBRegist;
    QString SendName[8];
    bool PrnUse[8];
    QString Printer[8];
    bool DirUse[8];
    QString Folder[8];

private:
    // Calls visitor(name, member) for every value in table order; member is a QString&,
    // bool& or int& (const for a const object).
    template <class Self, class Visitor> static void visit(Self& self, Visitor&& visitor);

    QString storePath_;
};
