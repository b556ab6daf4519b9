// Lookups and keyword searches on an index of 1,000,000 volumes.
//
// The index is generated once into the temporary folder and reused by later runs
// (tovane-index-bench-1000000.sqb); delete it to generate it again. Patients get one to a few
// volumes each, in the shuffled order in which a clinic saves them.

#include "core/Cp932.h"
#include "index/ChartIndex.h"
#include "index/Cp932Like.h"
#include "index/IndexFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

namespace {

constexpr int rowCount = 1'000'000;
constexpr int patientCount = 400'000;

const char* const familyNames[] = {"佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺",   "山本",
                                   "中村", "小林", "加藤", "吉田", "山田", "佐々木", "山口",
                                   "松本", "井上", "木村", "林",   "斎藤", "清水"};
const char* const familyReadings[] = {"サトウ",   "スズキ",   "タカハシ", "タナカ",   "イトウ",
                                      "ワタナベ", "ヤマモト", "ナカムラ", "コバヤシ", "カトウ",
                                      "ヨシダ",   "ヤマダ",   "ササキ",   "ヤマグチ", "マツモト",
                                      "イノウエ", "キムラ",   "ハヤシ",   "サイトウ", "シミズ"};
const char* const givenNames[] = {"太郎", "花子", "一郎", "美咲", "健太", "陽子", "翔", "愛"};
const char* const givenReadings[] = {"タロウ", "ハナコ", "イチロウ", "ミサキ",
                                     "ケンタ", "ヨウコ", "ショウ",   "アイ"};
const char* const towns[] = {"東京都新宿区西新宿", "大阪府大阪市北区梅田", "愛知県名古屋市中区栄",
                             "福岡県福岡市博多区", "北海道札幌市中央区"};

// A fixed pseudo-random sequence, so that every generated index is the same.
quint32 mix(quint32 x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

QString benchPath() {
    return QDir(QDir::tempPath()).filePath(QStringLiteral("tovane-index-bench-1000000.sqb"));
}

void generate(const QString& path) {
    std::fprintf(stderr, "generating %d rows into %s\n", rowCount, qPrintable(path));
    const QString building = path + QStringLiteral(".building");
    QFile::remove(building);
    createIndexFile(building);
    {
        SqliteDatabase db(building, SqliteDatabase::Mode::ReadWrite);
        SqliteStatement insert(db, "INSERT INTO PDF_PATH VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?);");
        std::vector<int> volumes(patientCount, 0);
        SqliteTransaction transaction(db);
        for (int i = 0; i < rowCount; ++i) {
            const quint32 r = mix(quint32(i));
            const int patient = int(r % patientCount);
            const int volume = volumes[size_t(patient)]++;
            const int family = int((r >> 8) % std::size(familyNames));
            const int given = int((r >> 16) % std::size(givenNames));
            const QString folder =
                QStringLiteral("\\%1\\%2").arg(patient / 10000, 4, 10, QChar('0')).arg(patient);
            const QString file = QStringLiteral("HP%1_%2.pdf").arg(patient).arg(volume);
            const QString values[] = {
                QStringLiteral("2011/05/06 9:03:07"),
                folder,
                QStringLiteral("/charts") + QString(folder).replace('\\', '/') + '/' + file,
                file,
                QString::fromUtf8(familyNames[family]) + QChar(u'　') +
                    QString::fromUtf8(givenNames[given]),
                QString::fromUtf8(familyReadings[family]) + QChar(u' ') +
                    QString::fromUtf8(givenReadings[given]),
                QString::fromUtf8(given % 2 ? "女性" : "男性"),
                QStringLiteral("S%1.%2.%3").arg(20 + r % 40).arg(1 + r % 12).arg(1 + r % 28),
                QStringLiteral("%1-%2").arg(100 + r % 900).arg(r % 10000, 4, 10, QChar('0')),
                QString::fromUtf8(towns[r % std::size(towns)]) + QString::number(r % 100),
                QStringLiteral("03-%1-%2").arg(r % 10000, 4, 10, QChar('0')).arg(patient % 10000),
                QStringLiteral("090-%1-%2").arg(patient % 10000, 4, 10, QChar('0')).arg(r % 10000),
            };
            insert.bind(1, qint64(patient));
            insert.bind(2, qint64(volume));
            for (int c = 0; c < 12; ++c)
                insert.bind(3 + c, toCp932(values[c]));
            insert.run();
            insert.reset();
        }
        transaction.commit();
    }
    QFile::remove(path);
    QFile::rename(building, path);
}

ChartIndex& benchIndex() {
    static ChartIndex index = [] {
        const QString path = benchPath();
        if (!QFileInfo::exists(path))
            generate(path);
        ChartIndex opened;
        opened.open(path);
        return opened;
    }();
    return index;
}

void searchKeys(benchmark::State& state, const IndexKeys& keys) {
    ChartIndex& index = benchIndex();
    size_t found = 0;
    for (auto _ : state) {
        found = index.searchKeys(keys).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["rows"] = double(found);
}

void BM_PatientLookup(benchmark::State& state) {
    ChartIndex& index = benchIndex();
    quint32 i = 0;
    size_t found = 0;
    for (auto _ : state) {
        found += index.patientVolumes(int(mix(++i ^ 0x5bd1e995U) % patientCount)).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["rows/lookup"] = double(found) / double(state.iterations());
}
BENCHMARK(BM_PatientLookup);

void BM_KeywordSearchOne(benchmark::State& state) {
    IndexKeys keys;
    keys[0] = QStringLiteral("山田");
    searchKeys(state, keys);
}
BENCHMARK(BM_KeywordSearchOne)->Unit(benchmark::kMillisecond);

void BM_KeywordSearchTwo(benchmark::State& state) {
    IndexKeys keys;
    keys[0] = QStringLiteral("山田");
    keys[2] = QStringLiteral("女性");
    searchKeys(state, keys);
}
BENCHMARK(BM_KeywordSearchTwo)->Unit(benchmark::kMillisecond);

void BM_KeywordSearchReading(benchmark::State& state) {
    IndexKeys keys;
    keys[1] = QStringLiteral("ヤマダ");
    searchKeys(state, keys);
}
BENCHMARK(BM_KeywordSearchReading)->Unit(benchmark::kMillisecond);

// A keyword that few rows hold: the time is the scan of the table, not the reading of rows.
void BM_KeywordSearchSelective(benchmark::State& state) {
    IndexKeys keys;
    keys[7] = QStringLiteral("090-1234-");
    searchKeys(state, keys);
}
BENCHMARK(BM_KeywordSearchSelective)->Unit(benchmark::kMillisecond);

// The scan alone (a count, no rows read back), with SQLite's own LIKE and with the code page
// 932 LIKE the index installs: what the correct matching costs. (Their matches differ on
// katakana, not on this pattern.)
void likeScan(benchmark::State& state, bool cp932) {
    benchIndex();
    SqliteDatabase db(benchPath(), SqliteDatabase::Mode::ReadWrite);
    if (cp932)
        installCp932Like(db.handle());
    SqliteStatement s(db, "SELECT count(*) AS N FROM PDF_PATH WHERE KEY1 LIKE '%' || ? || '%';");
    s.bind(1, toCp932(QStringLiteral("山田")));
    qint64 found = 0;
    for (auto _ : state) {
        s.step();
        found = s.integer("N");
        s.reset();
    }
    state.counters["rows"] = double(found);
}
void BM_LikeScanSqlite(benchmark::State& state) {
    likeScan(state, false);
}
BENCHMARK(BM_LikeScanSqlite)->Unit(benchmark::kMillisecond);
void BM_LikeScanCp932(benchmark::State& state) {
    likeScan(state, true);
}
BENCHMARK(BM_LikeScanCp932)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
