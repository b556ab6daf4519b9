#pragma once
// The working pages: the ordered pages of the chart being put together, each an image file
// in the Scanner folder, with the square thumbnails shown for them. Nothing here knows a
// widget; the page list area of the main window keeps its list view in step with this.

#include <QImage>
#include <QList>
#include <QString>
#include <stdexcept>

// A failure of a page operation. what() is the message shown to the user, in UTF-8.
class PageError : public std::runtime_error {
public:
    explicit PageError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// One page.
struct APageList {
    QString FileName;    // the image file's name in the Scanner folder
    int ThumbIndex = -1; // the page's thumbnail in TThumbNailList
    QString Note;        // empty: none; a CR LF after every line
    QString Bookmark;    // empty: none; the caption in the list
};

// The name part of a path ("a/b/c.jpg" gives "c.jpg"; a bare name stays as it is).
QString pageNameOf(const QString& file);

// The ordered list of pages; list order is page order in the chart PDF.
class TWorkingPages {
public:
    int count() const { return static_cast<int>(pages_.size()); }
    bool isEmpty() const { return pages_.isEmpty(); }
    const APageList& at(int index) const { return pages_.at(index); }
    APageList& operator[](int index) { return pages_[index]; }
    QList<APageList>::const_iterator begin() const { return pages_.cbegin(); }
    QList<APageList>::const_iterator end() const { return pages_.cend(); }

    void append(const APageList& page) { pages_.append(page); }
    // Removes the record at `index` (its ThumbIndex set to -1 first, as a freed record).
    void removeAt(int index);
    // Frees every record.
    void clear();

    // True when some record's FileName equals the name part of `file`, byte for byte.
    bool hasPageFile(const QString& file) const;
    // The last record whose FileName equals the name part of `file`; -1 when none.
    int lastIndexOfName(const QString& file) const;

    // The list items to refresh after a move: first to last, inclusive; empty when nothing
    // moved.
    struct Span {
        int first = 0;
        int last = -1;
        bool isEmpty() const { return last < first; }
    };
    // Moves the page at `source` as a drop onto the page at `target` does: it ends just
    // before the target page (at target - 1 when moving down, at target when moving up).
    // `target` -1 (dropped on empty space) moves it to the end. Out-of-range indexes move
    // nothing.
    Span dragMove(int source, int target);

private:
    QList<APageList> pages_;
};

// The image list of square thumbnails of side S = 64 + 32 * ImSize. Thumbnails are only
// appended or replaced; a deleted page's thumbnail stays until the list is reset.
class TThumbNailList {
public:
    static int sideFor(int imSize) { return 64 + 32 * imSize; }

    int side() const { return side_; }
    int count() const { return static_cast<int>(images_.size()); }
    const QImage& at(int index) const { return images_.at(index); }

    // Empties the list and gives it the thumbnail side.
    void reset(int side);
    // Appends a thumbnail and returns its index.
    int append(const QImage& thumbnail);
    // Puts a thumbnail at an existing index; an index out of range changes nothing.
    void replace(int index, const QImage& thumbnail);

private:
    int side_ = 64;
    QList<QImage> images_;
};
