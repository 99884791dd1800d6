#include "stage_file_io.h"

#include "cp932.h"
#include "quoted_text.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

#include <unistd.h>

namespace {

constexpr const char* LINE_END = "\r\n";
constexpr const char* END_LINE = "end;";

bool savedRecord(const PlacedRecord& r) {
    return r.inUse && r.x >= 0 && r.y >= 0 && r.y <= 255;
}

template <size_t N> bool anySaved(const std::array<PlacedRecord, N>& records) {
    for (const PlacedRecord& r : records)
        if (savedRecord(r)) return true;
    return false;
}

template <size_t N>
void appendRecords(QByteArray& out, const std::array<PlacedRecord, N>& records) {
    for (const PlacedRecord& r : records) {
        if (!savedRecord(r)) continue;
        out += QByteArray::number(r.x) + LINE_END + QByteArray::number(r.y) + LINE_END +
               QByteArray::number(r.kind) + LINE_END;
    }
    out += QByteArray("-1") + LINE_END;
}

// The lines of a file, read one at a time.
class Lines {
  public:
    explicit Lines(const QByteArray& bytes) : lines_(bytes.split('\n')) {
        // A final line end leaves nothing after it.
        if (!lines_.isEmpty() && lines_.back().isEmpty()) lines_.removeLast();
        for (QByteArray& line : lines_)
            if (line.endsWith('\r')) line.chop(1);
    }
    bool atEnd() const { return next_ >= lines_.size(); }
    int lineNumber() const { return int(next_); }

    bool text(QByteArray& line, QString& error) {
        if (atEnd())
            return fail(error, next_ + 1,
                        QCoreApplication::translate("StageFileReader", "the file ends too early"));
        line = lines_[next_++];
        return true;
    }

    // A number as the first word of its line; the rest of the line is skipped.
    bool number(int32_t& value, QString& error) {
        QByteArray line;
        if (!text(line, error)) return false;
        const QByteArray word = line.simplified().split(' ').front();
        bool ok = false;
        const long long read = word.toLongLong(&ok);
        if (!ok || read < INT32_MIN || read > INT32_MAX)
            return fail(error, next_,
                        QCoreApplication::translate("StageFileReader", "'%1' is not a number")
                            .arg(quotedForMessage(line)));
        value = int32_t(read);
        return true;
    }

  private:
    static bool fail(QString& error, qsizetype line, const QString& what) {
        error = QCoreApplication::translate("StageFileReader", "line %1: %2").arg(line).arg(what);
        return false;
    }

    QList<QByteArray> lines_;
    qsizetype next_ = 0;
};

// What a reading met that a later saving would not write back as it was:
// each said once, in the order first met.
class Warnings {
  public:
    explicit Warnings(QStringList* list) : list_(list) {}
    // text: marked for translation (in the reader's context) where it is written.
    void add(const char* text) {
        const QString warning = QCoreApplication::translate("StageFileReader", text);
        if (list_ && !list_->contains(warning)) list_->append(warning);
    }

  private:
    QStringList* list_;
};

// A number the file keeps in one byte.
uint8_t byteValue(int32_t number, Warnings& warnings) {
    if (number < 0 || number > 255)
        warnings.add(QT_TRANSLATE_NOOP(
            "StageFileReader", "0～255の範囲にない残機数、難易度、背景、または種類があります。"
                               "保存すると別の値になります。"));
    return uint8_t(number);
}

template <size_t N>
bool readRecords(Lines& in, std::array<PlacedRecord, N>& records, Warnings& warnings,
                 QString& error) {
    size_t filled = 0;
    for (;;) {
        int32_t x = 0, y = 0, kind = 0;
        if (!in.number(x, error)) return false;
        if (x == -1) return true;
        if (!in.number(y, error) || !in.number(kind, error)) return false;
        const PlacedRecord record{x, y, byteValue(kind, warnings), true};
        if (!savedRecord(record))
            warnings.add(QT_TRANSLATE_NOOP("StageFileReader",
                                           "保存できる範囲 (x が0以上、y が0～255) の外にある"
                                           "ｵﾌﾞｼﾞｪｸﾄか敵があります。保存すると失われます。"));
        // Records beyond the slot's table are read and dropped.
        if (filled < N)
            records[filled++] = record;
        else if (N == OBJECT_SLOTS)
            warnings.add(QT_TRANSLATE_NOOP(
                "StageFileReader",
                "ｵﾌﾞｼﾞｪｸﾄが1024個を超えるｽﾃｰｼﾞがあります。超えた分は読み込んでいません。"));
        else
            warnings.add(QT_TRANSLATE_NOOP(
                "StageFileReader",
                "敵が64体を超えるｽﾃｰｼﾞがあります。超えた分は読み込んでいません。"));
    }
}

} // namespace

bool slotIsWritten(const StageSlot& slot) {
    return anySaved(slot.objects) || anySaved(slot.enemies);
}

int recordsLeftOut(const StageSet& set) {
    int count = 0;
    for (const StageSlot& slot : set.stageSlots) {
        for (const PlacedRecord& r : slot.objects)
            count += r.inUse && !savedRecord(r);
        for (const PlacedRecord& r : slot.enemies)
            count += r.inUse && !savedRecord(r);
    }
    return count;
}

QByteArray stageFileBytes(const StageSet& set) {
    QByteArray out;
    const FileTexts& texts = set.fileTexts;
    out += texts.bytesFor(FileTexts::COMMENT, set.comment) + LINE_END;
    out += texts.bytesFor(FileTexts::AUTHOR, set.author) + LINE_END;
    out += texts.bytesFor(FileTexts::CLEAR_MESSAGE, set.clearMessage) + LINE_END;
    out += QByteArray::number(set.startingLives) + LINE_END;
    out += QByteArray::number(set.difficulty) + LINE_END;
    for (int i = 0; i < STAGE_SLOTS; ++i) {
        const StageSlot& slot = set.stageSlots[size_t(i)];
        if (!slotIsWritten(slot)) continue;
        out += QByteArray("stage_begin") + LINE_END;
        out += texts.bytesFor(FileTexts::FIRST_MUSIC + i, slot.musicName) + LINE_END;
        out += QByteArray::number(slot.background) + LINE_END;
        appendRecords(out, slot.objects);
        appendRecords(out, slot.enemies);
    }
    return out + END_LINE;
}

bool parseStageFile(const QByteArray& bytes, StageSet& set, QString& error,
                    QStringList* warningList) {
    set.reset();
    Warnings warnings(warningList);
    Lines in(bytes);
    QByteArray text;
    int32_t number = 0;
    FileTexts& texts = set.fileTexts;
    if (!in.text(text, error)) return false;
    set.comment = texts.read(FileTexts::COMMENT, text);
    if (!in.text(text, error)) return false;
    set.author = texts.read(FileTexts::AUTHOR, text);
    if (!in.text(text, error)) return false;
    set.clearMessage = texts.read(FileTexts::CLEAR_MESSAGE, text);
    if (!in.number(number, error)) return false;
    set.startingLives = byteValue(number, warnings);
    if (!in.number(number, error)) return false;
    set.difficulty = byteValue(number, warnings);
    bool ended = false;
    for (int i = 0; i < STAGE_SLOTS && !ended; ++i) {
        StageSlot& slot = set.stageSlots[size_t(i)];
        // A file may end without its "end;" line: what it holds is read.
        if (in.atEnd()) break;
        if (!in.text(text, error)) return false;
        if (text == END_LINE) {
            ended = true;
            break;
        }
        if (!in.text(text, error)) return false;
        slot.musicName = texts.read(FileTexts::FIRST_MUSIC + i, text);
        if (!in.number(number, error)) return false;
        slot.background = byteValue(number, warnings);
        if (!readRecords(in, slot.objects, warnings, error) ||
            !readRecords(in, slot.enemies, warnings, error))
            return false;
        if (!slotIsWritten(slot))
            warnings.add(QT_TRANSLATE_NOOP(
                "StageFileReader", "ｵﾌﾞｼﾞｪｸﾄも敵も保存できないｽﾃｰｼﾞがあります。保存するとそのｽﾃｰｼﾞ"
                                   "(BGMと背景も)は失われます。"));
    }
    if (!ended) {
        if (in.atEnd())
            warnings.add(QT_TRANSLATE_NOOP(
                "StageFileReader",
                "ﾌｧｲﾙが \"end;\" の行の前で終わっています。読めたところまでを開きました。"));
        else if (in.text(text, error) && text != END_LINE)
            warnings.add(QT_TRANSLATE_NOOP(
                "StageFileReader", "ｽﾃｰｼﾞが36を超えています。37番目からは読み込んでいません。"));
    }
    return true;
}

bool readStageFile(const QString& path, StageSet& set, QString& error, QStringList* warnings) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    // Read into a set of its own, so that a broken file changes nothing.
    auto read = std::make_unique<StageSet>();
    if (!parseStageFile(bytes, *read, error, warnings)) return false;
    set = *read;
    return true;
}

bool writeStageFile(const QString& path, const StageSet& set, QString& error) {
    // The new contents go to a file beside the old one that replaces it only
    // once every byte is on disk. Qt's buffered writing can take a short
    // write (a full disk) for success, so the bytes go through the handle
    // and every write is checked.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    const QByteArray bytes = stageFileBytes(set);
    const char* next = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t written = ::write(file.handle(), next, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            error = QString::fromLocal8Bit(std::strerror(written < 0 ? errno : EIO));
            file.cancelWriting();
            file.commit(); // removes the unfinished file
            return false;
        }
        next += written;
        left -= size_t(written);
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
