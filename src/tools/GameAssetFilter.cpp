#include "tools/GameAssetFilter.h"

#include "data/FileAccess.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstring>

namespace velmora::tools {

namespace {

constexpr std::string_view kAsset = "Asset";
constexpr std::string_view kRootStart = "<AssetList>";
constexpr std::string_view kRootEnd = "</AssetList>";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether a tag name ends at position i (white space, '>', '/', or the end of the text).
bool nameEndsAt(std::string_view text, size_t i) {
    return i >= text.size() || isSpace(text[i]) || text[i] == '>' || text[i] == '/';
}

// Position of the '>' closing the tag that starts at from, skipping quoted attribute values.
size_t tagEnd(std::string_view text, size_t from) {
    for (size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '>')
            return i;
        if (c == '"' || c == '\'') {
            i = text.find(c, i + 1);
            if (i == std::string_view::npos)
                return i;
        }
    }
    return std::string_view::npos;
}

// Position of the next start tag "<name" at or after from, or npos.
size_t findStartTag(std::string_view text, std::string_view name, size_t from) {
    for (size_t at = text.find('<', from); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        if (at + 1 < text.size() && text[at + 1] == name[0] &&
            text.substr(at + 1, name.size()) == name && nameEndsAt(text, at + 1 + name.size()))
            return at;
    }
    return std::string_view::npos;
}

// Files the scanner cannot read byte by byte as UTF-8 (UTF-16 or UTF-32, or a declared
// single-byte encoding) are loaded as a whole document, which converts them.
bool needsWholeDocument(const QByteArray& head) {
    if (data::characterWidth(head.constData(), size_t(head.size())) != 1)
        return true;
    const qsizetype bom = head.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (head.mid(bom, 5) != "<?xml")
        return false;
    const qsizetype declarationEnd = head.indexOf("?>", bom);
    const QByteArray declaration = head.mid(bom, declarationEnd < 0 ? -1 : declarationEnd - bom);
    const qsizetype encoding = declaration.indexOf("encoding");
    if (encoding < 0)
        return false;
    const QByteArray value = declaration.mid(encoding + 8).trimmed();
    return !(value.startsWith("=") && value.mid(1).trimmed().mid(1, 5).toLower() == "utf-8");
}

// Finds the outermost Asset elements of text fed to it chunk by chunk, and refuses a nesting
// deeper than the document layer takes, so the kept records need no walk for it. Bytes are kept
// from the start of the token or Asset element not yet complete; everything before is dropped.
class AssetScanner {
public:
    AssetScanner(const QString& fileName, const AssetFilter& keep)
        : fileName_(fileName), keep_(keep) {}

    void feed(const QByteArray& chunk, bool atEnd) {
        dropConsumed();
        buffer_.append(chunk.constData(), static_cast<size_t>(chunk.size()));
        // XML allows no NUL character; the whole document's parser would end the text there.
        const size_t nul = buffer_.find('\0', buffer_.size() - static_cast<size_t>(chunk.size()));
        if (nul != std::string::npos)
            fail(nul, "ein Nullzeichen, das in XML nicht erlaubt ist");
        if (first_) {
            first_ = false;
            if (buffer_.compare(0, 3, "\xEF\xBB\xBF") == 0)
                pos_ = 3;
        }
        scan(atEnd);
        if (atEnd)
            finish();
    }

    std::string takeKept() { return std::move(kept_); }

private:
    enum class Step { Done, NeedMore };

    void dropConsumed() {
        const size_t keepFrom = assetStart_ == std::string::npos ? pos_ : assetStart_;
        linesDropped_ +=
            std::count(buffer_.begin(), buffer_.begin() + static_cast<ptrdiff_t>(keepFrom), '\n');
        buffer_.erase(0, keepFrom);
        pos_ -= keepFrom;
        if (assetStart_ != std::string::npos)
            assetStart_ -= keepFrom;
    }

    void scan(bool atEnd) {
        const std::string_view text(buffer_);
        while (true) {
            const size_t lt = text.find('<', pos_);
            if (lt == std::string_view::npos) {
                pos_ = text.size();
                return;
            }
            pos_ = lt;
            if (token(text, atEnd) == Step::NeedMore)
                return;
        }
    }

    // Handles the markup token at pos_ and moves past it.
    Step token(std::string_view text, bool atEnd) {
        const std::string_view rest = text.substr(pos_);
        // Enough bytes to tell "<![CDATA[" from other markup.
        if (rest.size() < 9 && !atEnd)
            return Step::NeedMore;
        const auto skipTo = [&](std::string_view terminator, const char* what) {
            const size_t end = text.find(terminator, pos_ + 2);
            if (end == std::string_view::npos)
                return incomplete(atEnd, what);
            pos_ = end + terminator.size();
            return Step::Done;
        };
        const char kind = rest.size() > 1 ? rest[1] : '\0';
        if (kind == '!') {
            if (rest.substr(0, 4) == "<!--")
                return skipTo("-->", "Kommentar ohne Ende");
            if (rest.substr(0, 9) == "<![CDATA[")
                return skipTo("]]>", "CDATA-Abschnitt ohne Ende");
            return declaration(text, atEnd);
        }
        if (kind == '?')
            return skipTo("?>", "Verarbeitungsanweisung ohne Ende");
        const bool endTag = kind == '/';
        const size_t end = tagEnd(text, pos_ + 1);
        if (end == std::string_view::npos)
            return incomplete(atEnd, "Tag ohne Ende");
        const size_t nameStart = pos_ + (endTag ? 2 : 1);
        const bool asset = text[nameStart] == kAsset[0] &&
                           text.substr(nameStart, kAsset.size()) == kAsset &&
                           nameEndsAt(text, nameStart + kAsset.size());
        const size_t start = pos_;
        pos_ = end + 1;
        sawElement_ = true;
        // The records kept lie one level below the root of the document they are parsed into.
        if (endTag)
            --nesting_;
        else if (text[end - 1] != '/' && ++nesting_ >= data::kMaxNesting)
            throw data::tooDeeplyNested(fileName_);
        if (!asset)
            return Step::Done;
        if (endTag) {
            if (depth_ == 0)
                fail(start, "Endtag </Asset> ohne Anfangstag");
            if (--depth_ == 0)
                offer(text, assetStart_);
        } else if (text[end - 1] == '/') {
            if (depth_ == 0)
                offer(text, start);
        } else if (depth_++ == 0) {
            assetStart_ = start;
        }
        return Step::Done;
    }

    // "<!DOCTYPE ...>": its internal subset in brackets may hold '>'.
    Step declaration(std::string_view text, bool atEnd) {
        int brackets = 0;
        for (size_t i = pos_ + 2; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '"' || c == '\'') {
                i = text.find(c, i + 1);
                if (i == std::string_view::npos)
                    break;
            } else if (c == '[') {
                ++brackets;
            } else if (c == ']') {
                --brackets;
            } else if (c == '>' && brackets <= 0) {
                pos_ = i + 1;
                return Step::Done;
            }
        }
        return incomplete(atEnd, "Deklaration ohne Ende");
    }

    Step incomplete(bool atEnd, const char* what) {
        if (atEnd)
            fail(pos_, what);
        return Step::NeedMore;
    }

    void offer(std::string_view text, size_t start) {
        const std::string_view element = text.substr(start, pos_ - start);
        if (keep_(element))
            kept_.append(element);
        assetStart_ = std::string::npos;
    }

    void finish() {
        if (depth_ > 0)
            fail(assetStart_, "Element Asset ohne Endtag");
        if (!sawElement_)
            throw data::DataError(QStringLiteral("Die Datei %1 enthält kein XML-Element.")
                                      .arg(data::quotedPath(fileName_)));
    }

    [[noreturn]] void fail(size_t offset, const char* reason) const {
        const qsizetype line =
            linesDropped_ +
            std::count(buffer_.begin(), buffer_.begin() + static_cast<ptrdiff_t>(offset), '\n') + 1;
        throw data::DataError(
            QStringLiteral("Die Datei %1 ist beschädigt und kann nicht gelesen werden "
                           "(Zeile %2: %3).")
                .arg(data::quotedPath(fileName_))
                .arg(line)
                .arg(QString::fromUtf8(reason)));
    }

    QString fileName_;
    const AssetFilter& keep_;
    std::string buffer_;
    size_t pos_ = 0;
    size_t assetStart_ = std::string::npos;
    int depth_ = 0;
    int nesting_ = 0; // elements open at pos_, of any name
    bool first_ = true;
    bool sawElement_ = false;
    qsizetype linesDropped_ = 0;
    std::string kept_;
};

} // namespace

data::XmlDocument loadGameAssets(const QString& path, const AssetFilter& keep,
                                 qsizetype chunkSize) {
    QFile file;
    data::openForReading(file, path);
    const QString resolved = file.fileName();
    if (needsWholeDocument(file.peek(512))) {
        file.close();
        return data::XmlDocument::load(resolved);
    }

    AssetScanner scanner(resolved, keep);
    const qsizetype size = file.size();
    qsizetype read = 0;
    do {
        const QByteArray chunk = file.read(std::max<qsizetype>(chunkSize, 1));
        if (chunk.isEmpty() && read < size)
            data::failedToRead(file);
        read += chunk.size();
        scanner.feed(chunk, read >= size);
    } while (read < size);

    std::string kept = scanner.takeKept();
    const size_t total = kRootStart.size() + kept.size() + kRootEnd.size();
    char* buffer = static_cast<char*>(pugi::get_memory_allocation_function()(total));
    if (!buffer)
        throw data::DataError(QStringLiteral("Für die Datei %1 reicht der Speicher nicht.")
                                  .arg(data::quotedPath(resolved)));
    std::memcpy(buffer, kRootStart.data(), kRootStart.size());
    std::memcpy(buffer + kRootStart.size(), kept.data(), kept.size());
    std::memcpy(buffer + kRootStart.size() + kept.size(), kRootEnd.data(), kRootEnd.size());
    std::string().swap(kept);
    return data::XmlDocument::parseOwned(buffer, total, resolved, data::LoneBlanks::Drop,
                                         data::Nesting::Checked);
}

bool holdsElement(std::string_view element, std::string_view name) {
    // The element's own start tag is not inside it.
    return findStartTag(element, name, 1) != std::string_view::npos;
}

bool holdsTemplate(std::string_view element, const std::unordered_set<std::string>& names) {
    constexpr std::string_view kTemplate = "Template";
    constexpr std::string_view kTemplateEnd = "</Template";
    for (size_t at = findStartTag(element, kTemplate, 1); at != std::string_view::npos;
         at = findStartTag(element, kTemplate, at + 1)) {
        const size_t end = tagEnd(element, at + 1);
        if (end == std::string_view::npos)
            return true;
        if (element[end - 1] == '/') {
            if (names.count(std::string()))
                return true;
            continue;
        }
        const size_t textEnd = element.find('<', end + 1);
        if (textEnd == std::string_view::npos)
            return true;
        const std::string_view text = element.substr(end + 1, textEnd - end - 1);
        const bool plainText = text.find('&') == std::string_view::npos &&
                               element.substr(textEnd, kTemplateEnd.size()) == kTemplateEnd &&
                               nameEndsAt(element, textEnd + kTemplateEnd.size());
        // Entities or markup inside the text: only the parsed document can tell.
        if (!plainText || names.count(std::string(text)))
            return true;
    }
    return false;
}

} // namespace velmora::tools
