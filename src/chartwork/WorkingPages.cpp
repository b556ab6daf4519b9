#include "chartwork/WorkingPages.h"

QString pageNameOf(const QString& file) {
    const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? file : file.mid(slash + 1);
}

void TWorkingPages::removeAt(int index) {
    if (index < 0 || index >= count())
        return;
    pages_[index].ThumbIndex = -1;
    pages_.removeAt(index);
}

void TWorkingPages::clear() {
    for (APageList& page : pages_)
        page.ThumbIndex = -1;
    pages_.clear();
}

bool TWorkingPages::hasPageFile(const QString& file) const {
    const QString name = pageNameOf(file);
    for (const APageList& page : pages_)
        if (page.FileName == name)
            return true;
    return false;
}

int TWorkingPages::lastIndexOfName(const QString& file) const {
    const QString name = pageNameOf(file);
    for (int i = count() - 1; i >= 0; --i)
        if (pages_[i].FileName == name)
            return i;
    return -1;
}

TWorkingPages::Span TWorkingPages::dragMove(int source, int target) {
    const int n = count();
    if (source < 0 || source >= n || target >= n || target < -1)
        return {};
    if (target == -1) {
        pages_.move(source, n - 1);
        return {source, n - 1};
    }
    if (target > source) {
        pages_.move(source, target - 1);
        return {source, target - 1};
    }
    if (target < source) {
        pages_.move(source, target);
        return {target, source};
    }
    return {};
}

void TThumbNailList::reset(int side) {
    images_.clear();
    side_ = side;
}

int TThumbNailList::append(const QImage& thumbnail) {
    images_.append(thumbnail);
    return count() - 1;
}

void TThumbNailList::replace(int index, const QImage& thumbnail) {
    if (index >= 0 && index < count())
        images_[index] = thumbnail;
}
