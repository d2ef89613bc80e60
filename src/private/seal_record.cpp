#include "private/seal_record.h"

#include "files/atomic_file.h"
#include "files/block_reader.h"
#include "output/record_fields.h"
#include "text/percent_encoding.h"

namespace vistello {

namespace {

constexpr size_t kMarkFields = 4;

void AppendMark(std::string& text, const WrittenMark& mark) {
    AppendRecordNumber(text, mark.size);
    AppendRecordTime(text, mark.mtime);
    AppendRecordNumber(text, static_cast<long long>(mark.inode));
}

WrittenMark MarkAt(const std::vector<std::string_view>& fields, size_t at) {
    return {static_cast<off_t>(RecordNumber(fields[at])),
            RecordTime(fields[at + 1], fields[at + 2]),
            static_cast<ino_t>(RecordNumber(fields[at + 3]))};
}

// False for a line that is not whole.
bool ReadLine(const std::vector<std::string_view>& fields, SealRecord& record) {
    if (fields.size() == 2 && fields[0] == "T") {
        record.target = PercentDecode(fields[1]);
    } else if (fields.size() == 2 && fields[0] == "K") {
        record.keyName = fields[1];
    } else if (fields.size() == 2 && fields[0] == "C") {
        record.keyCheck = fields[1];
    } else if (fields[0] == "F" &&
               (fields.size() == 2 + kMarkFields || fields.size() == 2 + 2 * kMarkFields)) {
        SealRecord::Sealed& sealed = record.files[PercentDecode(fields[1])];
        sealed.written = MarkAt(fields, 2);
        if (fields.size() > 2 + kMarkFields) sealed.source = MarkAt(fields, 2 + kMarkFields);
    } else {
        return false;
    }
    return true;
}

}  // namespace

SealRecord SealRecord::Read(FileOps& ops, const std::string& staging) {
    BlockReader reader(ops, staging + std::string(kFileName));
    std::string text;
    if (!reader.IsOpen() || !reader.ReadAllInto(text)) return {};
    SealRecord record;
    bool whole = true;
    ForEachRecordLine(text, [&](const std::vector<std::string_view>& fields) {
        whole = whole && ReadLine(fields, record);
    });
    return whole ? record : SealRecord{};
}

bool SealRecord::Write(FileOps& ops, const std::string& staging) const {
    std::string text = "T";
    AppendRecordField(text, target);
    text += "\nK";
    AppendRecordField(text, keyName);
    text += "\nC";
    AppendRecordField(text, keyCheck);
    text += '\n';
    for (const auto& [name, sealed] : files) {
        text += "F";
        AppendRecordField(text, name);
        AppendMark(text, sealed.written);
        if (sealed.source) AppendMark(text, *sealed.source);
        text += '\n';
    }
    return WriteMadeFile(ops, staging + std::string(kFileName), text);
}

}  // namespace vistello
