// Any bytes as an edits file, previewed against the shipped data: the preview ends in rows
// (a file of the data directory is never refused: they are intact), every row's text and
// choices can be shown, and where the preview sets something the import then holds exactly
// that: importing the same file again finds nothing to set, and no row it set is now a
// conflict (the value it left would then not be the file's).
#include "FuzzSupport.h"

#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/EditorFiles.h"
#include "data/EditsFile.h"
#include "data/EditsImport.h"

using namespace velmora;

namespace {

const QString& dataDir() {
    return fuzz::copyShippedData();
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

data::EditorFiles& shippedFiles() {
    static data::EditorFiles files(dataDir());
    return files;
}

std::vector<data::ImportChoice> defaults(const std::vector<data::ImportRow>& rows) {
    std::vector<data::ImportChoice> choices;
    for (const data::ImportRow& row : rows)
        choices.push_back(data::DefaultChoice(row));
    return choices;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    data::EditsFile file;
    try {
        file = data::ReadEditsFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)),
                                   QStringLiteral("fuzz.json"));
    } catch (const data::DataError&) {
        return 0;
    }
    // DataError from here on is a fault: the data files are intact.
    data::EditorFiles& files = shippedFiles();
    const std::vector<data::ImportRow> rows = data::PreviewImport(files, file);
    bool sets = false;
    for (const data::ImportRow& row : rows) {
        data::RowText(row, files.catalogue());
        for (const data::ImportChoice choice : data::OfferedChoices(row))
            data::ChoiceText(row, choice);
        sets = sets || row.status == data::ImportStatus::Apply;
    }
    if (!sets)
        return 0;
    // Import into the scratch copy, preview again, and put the files back.
    static const QStringList edited = {data::kWorkingAssetsFile, data::kBuildingIndexFile,
                                       data::kBuffTableFile};
    static const std::vector<QByteArray> pristine = [] {
        std::vector<QByteArray> bytes;
        for (const QString& name : edited)
            bytes.push_back(readAll(data::dataFilePath(dataDir(), name)));
        return bytes;
    }();
    data::ApplyImport(dataDir(), rows, defaults(rows));
    {
        data::EditorFiles after(dataDir());
        const std::vector<data::ImportRow> again = data::PreviewImport(after, file);
        for (std::size_t i = 0; i < again.size(); ++i)
            if (again[i].status == data::ImportStatus::Apply ||
                (again[i].status == data::ImportStatus::Conflict &&
                 rows[i].status == data::ImportStatus::Apply))
                std::abort(); // the import did not hold what its preview said
    }
    for (qsizetype i = 0; i < edited.size(); ++i)
        writeAll(data::dataFilePath(dataDir(), edited[i]), pristine[std::size_t(i)]);
    return 0;
}
