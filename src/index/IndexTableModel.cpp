#include "index/IndexTableModel.h"

#include "core/Cp932.h"

namespace {

const char* const captions[IndexTableModel::ColumnCount] = {
    "作成日",   "患者番号", "連番",   "患者氏名", "フリガナ", "性別",
    "生年月日", "郵便番号", "現住所", "電話番号", "携帯電話"};

// Parses a whole number in [0, max]; false for anything else.
bool parseNumber(const QVariant& value, int max, int* out) {
    bool ok = false;
    const qlonglong n = value.toString().trimmed().toLongLong(&ok);
    if (!ok || n < 0 || n > max)
        return false;
    *out = int(n);
    return true;
}

QString textOf(const IndexRow& row, IndexColumn column) {
    switch (column) {
    case IndexColumn::TovaneDate:
        return row.tovaneDate;
    case IndexColumn::FilePath:
        return row.filePath;
    case IndexColumn::InetPath:
        return row.inetPath;
    case IndexColumn::FileName:
        return row.fileName;
    case IndexColumn::TovaneNo:
        return QString::number(row.patientNo);
    case IndexColumn::TovaneSubNo:
        return QString::number(row.volumeNo);
    default:
        return row.keys[size_t(int(column) - int(IndexColumn::Key1))];
    }
}

} // namespace

IndexTableModel::IndexTableModel(QObject* parent) : QAbstractTableModel(parent) {}

IndexColumn IndexTableModel::indexColumn(int column) {
    switch (column) {
    case DateColumn:
        return IndexColumn::TovaneDate;
    case PatientColumn:
        return IndexColumn::TovaneNo;
    case VolumeColumn:
        return IndexColumn::TovaneSubNo;
    default:
        return keyColumn(column - FirstKeyColumn + 1);
    }
}

void IndexTableModel::setRows(std::vector<IndexRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    index_ = nullptr;
    active_ = true;
    endResetModel();
}

void IndexTableModel::clear() {
    beginResetModel();
    rows_.clear();
    index_ = nullptr;
    active_ = false;
    endResetModel();
}

void IndexTableModel::openTable(ChartIndex& index) {
    clear();
    std::vector<IndexRow> rows = index.allRows();
    beginResetModel();
    rows_ = std::move(rows);
    index_ = &index;
    active_ = true;
    endResetModel();
}

void IndexTableModel::refresh() {
    if (index_)
        openTable(*index_);
}

void IndexTableModel::appendRow(const IndexRow& row) {
    if (!index_)
        return;
    const qint64 rowId = index_->insertVolume(row);
    // Show what the file now holds (texts cut to their limits), not what was asked for.
    IndexRow stored = row;
    stored.rowId = rowId;
    stored.filePath = cutTextToBytes(row.filePath, columnByteLimit(IndexColumn::FilePath));
    stored.inetPath = cutTextToBytes(row.inetPath, columnByteLimit(IndexColumn::InetPath));
    stored.fileName = cutTextToBytes(row.fileName, columnByteLimit(IndexColumn::FileName));
    for (int n = 1; n <= keyCount; ++n)
        stored.keys[n - 1] = cutTextToBytes(row.keys[n - 1], columnByteLimit(keyColumn(n)));
    const int at = int(rows_.size());
    beginInsertRows(QModelIndex(), at, at);
    rows_.push_back(stored);
    endInsertRows();
}

int IndexTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int IndexTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant IndexTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(rows_.size()))
        return {};
    const IndexRow& row = rows_[size_t(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (index.column() == PatientColumn)
            return row.patientNo;
        if (index.column() == VolumeColumn)
            return row.volumeNo;
        return textOf(row, indexColumn(index.column()));
    }
    if (role == Qt::TextAlignmentRole &&
        (index.column() == PatientColumn || index.column() == VolumeColumn))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant IndexTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount)
        return QString::fromUtf8(captions[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags IndexTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index_ && index.isValid())
        f |= Qt::ItemIsEditable;
    return f;
}

bool IndexTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index_ || role != Qt::EditRole || !index.isValid() || index.row() >= int(rows_.size()))
        return false;
    IndexRow& row = rows_[size_t(index.row())];
    const IndexColumn column = indexColumn(index.column());
    try {
        if (column == IndexColumn::TovaneNo || column == IndexColumn::TovaneSubNo) {
            int number = 0;
            const int max = column == IndexColumn::TovaneNo ? 99999999 : 9999;
            if (!parseNumber(value, max, &number))
                return false;
            index_->setNumber(row.rowId, column, number);
            (column == IndexColumn::TovaneNo ? row.patientNo : row.volumeNo) = number;
        } else {
            const int limit = columnByteLimit(column);
            const QString text =
                limit > 0 ? cutTextToBytes(value.toString(), limit) : value.toString();
            index_->setText(row.rowId, column, text);
            if (column == IndexColumn::TovaneDate)
                row.tovaneDate = text;
            else
                row.keys[size_t(int(column) - int(IndexColumn::Key1))] = text;
        }
    } catch (const std::exception& e) {
        emit writeFailed(QString::fromUtf8(e.what()));
        return false;
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool IndexTableModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (!index_ || parent.isValid() || row < 0 || count <= 0 || row + count > int(rows_.size()))
        return false;
    // Rows go one by one, last first, so that a failure in the middle leaves the grid
    // showing exactly the rows still in the file.
    for (int r = row + count - 1; r >= row; --r) {
        try {
            index_->deleteRow(rows_[size_t(r)].rowId);
        } catch (const std::exception& e) {
            emit writeFailed(QString::fromUtf8(e.what()));
            return false;
        }
        beginRemoveRows(QModelIndex(), r, r);
        rows_.erase(rows_.begin() + r);
        endRemoveRows();
    }
    return true;
}
