#include "core/Registory.h"

#include "core/Cp932.h"
#include "core/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

template <class... Fs> struct Overloaded : Fs... { using Fs::operator()...; };
template <class... Fs> Overloaded(Fs...) -> Overloaded<Fs...>;

// The counterpart of "C:\" on this platform.
QString homeFolder() {
    return QDir::homePath() + QLatin1Char('/');
}

} // namespace

template <class Self, class Visitor> void TRegistory::visit(Self& s, Visitor&& v) {
    v(QStringLiteral("FileOpenDir"), s.FileOpenDir);
    v(QStringLiteral("JpegType"), s.JpegType);
    v(QStringLiteral("TiffType"), s.TiffType);
    v(QStringLiteral("BitmapType"), s.BitmapType);
    v(QStringLiteral("PngType"), s.PngType);
    v(QStringLiteral("Sequence"), s.Sequence);
    v(QStringLiteral("ImSize"), s.ImSize);
    v(QStringLiteral("OrcaOnline"), s.OrcaOnline);
    v(QStringLiteral("Target"), s.Target);
    v(QStringLiteral("L1Front"), s.L1Front);
    v(QStringLiteral("L1Back"), s.L1Back);
    v(QStringLiteral("L2Front"), s.L2Front);
    v(QStringLiteral("L2Back"), s.L2Back);
    v(QStringLiteral("L3Front"), s.L3Front);
    v(QStringLiteral("L3Back"), s.L3Back);
    v(QStringLiteral("L4Front"), s.L4Front);
    v(QStringLiteral("L4Back"), s.L4Back);
    v(QStringLiteral("HPCode"), s.HPCode);
    v(QStringLiteral("HPName"), s.HPName);
    v(QStringLiteral("KaCode"), s.KaCode);
    v(QStringLiteral("WriteInhibit"), s.WriteInhibit);
    v(QStringLiteral("WriteDate"), s.WriteDate);
    v(QStringLiteral("Stretch"), s.Stretch);
    v(QStringLiteral("Quality"), s.Quality);
    v(QStringLiteral("PdfPageWidth"), s.PdfPageWidth);
    v(QStringLiteral("PdfPageHeight"), s.PdfPageHeight);
    v(QStringLiteral("ImportFilter"), s.ImportFilter);
    v(QStringLiteral("KeyWordUse"), s.KeyWordUse);
    v(QStringLiteral("ShowImage"), s.ShowImage);
    v(QStringLiteral("DBRegist"), s.DBRegist);
    // The numbered values go group by group, each group 1 to 8.
    for (int i = 0; i < 8; ++i)
        v(QStringLiteral("SendName%1").arg(i + 1), s.SendName[i]);
    for (int i = 0; i < 8; ++i)
        v(QStringLiteral("PrnUse%1").arg(i + 1), s.PrnUse[i]);
    for (int i = 0; i < 8; ++i)
        v(QStringLiteral("Printer%1").arg(i + 1), s.Printer[i]);
    for (int i = 0; i < 8; ++i)
        v(QStringLiteral("DirUse%1").arg(i + 1), s.DirUse[i]);
    for (int i = 0; i < 8; ++i)
        v(QStringLiteral("Folder%1").arg(i + 1), s.Folder[i]);
}

TRegistory::TRegistory() {
    SetDefaults();
}

void TRegistory::SetDefaults() {
    FileOpenDir = homeFolder();
    JpegType = TiffType = BitmapType = PngType = true;
    Sequence = 0;
    ImSize = 0;
    OrcaOnline = false;
    Target = homeFolder();
    L1Front = L1Back = L2Front = L2Back = L3Front = L3Back = L4Front = L4Back = QString();
    HPCode = QString();
    HPName = QString();
    KaCode = QStringLiteral("0");
    WriteInhibit = WriteDate = Stretch = true;
    Quality = 80;
    PdfPageWidth = 700;
    PdfPageHeight = 1000;
    ImportFilter = 0;
    KeyWordUse = false;
    ShowImage = 5;
    DBRegist = true;
    for (int i = 0; i < 8; ++i) {
        SendName[i] = QString();
        PrnUse[i] = false;
        Printer[i] = QString();
        DirUse[i] = false;
        Folder[i] = QString();
    }
}

void TRegistory::Load() {
    SettingsFile file;
    if (!file.load(storePath()) || !file.hasKey()) {
        SetDefaults();
        return;
    }
    bool ok = true;
    visit(*this, Overloaded{
                     [&](const QString& name, QString& member) {
                         const SettingsFile::Value* v = file.find(name);
                         if (!v)
                             member.clear();
                         else if (v->type == SettingsFile::Type::Text)
                             member = v->text;
                         else
                             ok = false;
                     },
                     [&](const QString& name, bool& member) {
                         const auto n = file.number(name);
                         if (n)
                             member = *n != 0;
                         else
                             ok = false;
                     },
                     [&](const QString& name, int& member) {
                         const auto n = file.number(name);
                         if (n)
                             member = *n;
                         else
                             ok = false;
                     },
                 });
    // One missing or mistyped value discards every value read, those before it included.
    if (!ok)
        SetDefaults();
}

void TRegistory::Save() {
    const QString path = storePath();
    SettingsFile file;
    if (!file.load(path) && QFile::exists(path)) {
        // Not a settings file (a hand edit gone wrong, say): kept beside rather than lost.
        const QString aside = path + QStringLiteral(".bak");
        QFile::remove(aside);
        QFile::rename(path, aside);
    }
    const QList<SettingsFile::Value> kept = file.values();
    SettingsFile out;
    visit(std::as_const(*this),
          Overloaded{
              [&](const QString& name, const QString& member) { out.setText(name, member); },
              [&](const QString& name, const bool& member) { out.setNumber(name, member ? 1 : 0); },
              [&](const QString& name, const int& member) { out.setNumber(name, member); },
          });
    for (const SettingsFile::Value& v : kept)
        if (!out.find(v.name))
            out.setValue(v);
    file.setValues(out.values());
    file.save(path);
}

void TRegistory::SetHPCode(const QString& code) {
    HPCode = cutTextToBytes(code, 16);
}

void TRegistory::SetKaCode(const QString& code) {
    KaCode = cutTextToBytes(code, 4);
}

QString TRegistory::defaultStorePath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Nadrel/TovaneFileLite20.reg");
}

QString TRegistory::storePath() const {
    return storePath_.isEmpty() ? defaultStorePath() : storePath_;
}

QString TRegistory::readStoredText(const QString& name) const {
    SettingsFile file;
    file.load(storePath());
    return file.text(name).value_or(QString());
}

bool TRegistory::writeStoredText(const QString& name, const QString& value) const {
    const QString path = storePath();
    SettingsFile file;
    if (!file.load(path) && QFile::exists(path))
        return false; // never replace a file that could not be read
    file.setText(name, value);
    return file.save(path);
}

QStringList TRegistory::valueNames() {
    QStringList names;
    const TRegistory defaults;
    visit(defaults, [&](const QString& name, const auto&) { names << name; });
    return names;
}
