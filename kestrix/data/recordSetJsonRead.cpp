#include "kestrix/data/HeldInput.h"
#include "kestrix/data/jsonField.h"
#include "kestrix/data/plainRecordSetRead.h"
#include "kestrix/data/recordSetFields.h"
#include "kestrix/data/recordSetFile.h"
#include "kestrix/data/recordSetHeader.h"
#include "kestrix/data/recordSetJsonScan.h"
#include "kestrix/data/recordShapes.h"

#include <ios>
#include <istream>
#include <new>

namespace kestrix::data {

namespace {

using jsonField::Field;
using jsonField::FieldError;
using jsonField::Json;

void ReadRecord(const Field& entry, clsDataRecord& record) {
    record.SetTimeStamp(TimeField(entry.Member("time")));
    record.SetLocationID(Int32Field(entry.Member("location")));
    const std::int32_t sampleTime = Int32Field(entry.Member("sample_time"), 0);
    record.SetSampleTimeData(sampleTime, StatusField(entry.Member("sample_time_status")));
    const Field particles = entry.Member("particles");
    for (std::size_t channel = 0; channel < particles.ListSize(); ++channel) {
        const Field item = particles.Item(channel);
        record.SetPartChanData(static_cast<std::int16_t>(channel), Int32Field(item.Member("count")),
                               StatusField(item.Member("status")), item.Member("enabled").Flag());
    }
    const Field analogs = entry.Member("analogs");
    for (std::size_t channel = 0; channel < analogs.ListSize(); ++channel) {
        const Field item = analogs.Item(channel);
        record.SetAnalogChanData(static_cast<std::int16_t>(channel),
                                 item.Member("value").NumberOrNonFinite(),
                                 StatusField(item.Member("status")), item.Member("enabled").Flag());
    }
}

[[noreturn]] void RefuseRecords(const std::string& expectation) {
    throw FieldError(std::string(kRecordsMemberName) + ": " + expectation);
}

// First pass: the header members, and the number and shapes of the records of
// the last "records" member, as a whole parse would keep it.
class Survey : public RecordSetJsonEvents {
public:
    bool WantsMember(const std::string& key) const override { return IsRecordSetMember(key); }

    void Member(const std::string& key, Json&& value) override {
        members_[key] = std::move(value);
        if (key == kRecordsMemberName) {
            recordsList_ = 0;
        }
    }

    void RecordsStart() override {
        members_.erase(kRecordsMemberName);
        recordsList_ = ++lists_;
        shapes_ = RecordShapes(kRecordSetFileMaxRecords);
    }

    void Record(Json&& entry) override { shapes_.Add(entry); }

    const Json& Members() const { return members_; }
    // Which "records" list counts, from 1; 0 when the member is missing or no list.
    std::size_t RecordsList() const { return recordsList_; }
    const RecordShapes& Shapes() const { return shapes_; }

private:
    Json members_ = Json::object();
    std::size_t lists_ = 0;
    std::size_t recordsList_ = 0;
    RecordShapes shapes_{0};
};

// Refuses records that are missing, too many or not shaped as the channels.
std::size_t CheckRecords(const Field& file, const Survey& survey, const RecordSetHeader& header) {
    if (survey.RecordsList() == 0) {
        file.Member(kRecordsMemberName).ListSize();
    }
    const std::size_t count = survey.Shapes().Count();
    if (count > static_cast<std::size_t>(kRecordSetFileMaxRecords)) {
        RefuseRecords("more than " + std::to_string(kRecordSetFileMaxRecords) + " records");
    }
    survey.Shapes().Check({header.particleTypes.size(), header.analogTypes.size()});
    return count;
}

// The set made ready for its records, with everything but the records.
std::unique_ptr<clsDataRecordSet> PrepareRecordSet(const Field& file, const Survey& survey) {
    const RecordSetHeader header = ReadRecordSetHeader(file);
    return PrepareRecordSet(file, header, CheckRecords(file, survey, header));
}

// Second pass: each record of the list that counts, read and stored in turn.
class RecordFiller : public RecordSetJsonEvents {
public:
    RecordFiller(clsDataRecordSet& recordSet, std::size_t recordsList)
        : recordSet_(recordSet),
          recordsList_(recordsList), shape_{
                                         static_cast<std::size_t>(recordSet.GetPartChanCount()),
                                         static_cast<std::size_t>(recordSet.GetAnalogChanCount())} {
        record_.SetPartChanCount(recordSet.GetPartChanCount());
        record_.SetAnalogChanCount(recordSet.GetAnalogChanCount());
    }

    bool WantsMember(const std::string& /*key*/) const override { return false; }
    void Member(const std::string& /*key*/, Json&& /*value*/) override {}
    void RecordsStart() override { ++lists_; }

    void Record(Json&& entry) override {
        if (lists_ != recordsList_) {
            return;
        }
        const std::size_t index = filled_++;
        const std::string path = RecordPath(index);
        const Field field(entry, path);
        if (index >= static_cast<std::size_t>(recordSet_.RecordCount()) ||
            ShapeOf(field) != shape_) {
            RefuseChange();
        }
        ReadRecord(field, record_);
        recordSet_.RecordCopy(static_cast<std::int32_t>(index), &record_);
    }

    void Finish() const {
        if (filled_ != static_cast<std::size_t>(recordSet_.RecordCount())) {
            RefuseChange();
        }
    }

private:
    [[noreturn]] static void RefuseChange() {
        RefuseRecords("the file changed while it was being read");
    }

    clsDataRecordSet& recordSet_;
    std::size_t recordsList_;
    RecordShape shape_;
    clsDataRecord record_;
    std::size_t lists_ = 0;
    std::size_t filled_ = 0;
};

void WindBack(std::istream& in, std::istream::pos_type start) {
    in.clear();
    if (!in.seekg(start)) {
        RefuseRecords("the file cannot be read a second time");
    }
}

void FillRecords(std::istream& in, clsDataRecordSet& recordSet, std::size_t recordsList) {
    RecordFiller filler(recordSet, recordsList);
    ScanRecordSetJson(in, filler);
    filler.Finish();
}

// A file as the writer makes it takes the quick way; any other goes the general way, which
// also names what is wrong.
std::unique_ptr<clsDataRecordSet> ReadPlainInTwoPasses(std::istream& in) {
    const std::istream::pos_type start = in.tellg();
    auto recordSet = SurveyPlainRecordSet(in);
    if (!recordSet) {
        return nullptr;
    }
    WindBack(in, start);
    if (!FillPlainRecords(in, *recordSet)) {
        // Changed since the first pass, which found one records list: the general pass tells how.
        WindBack(in, start);
        FillRecords(in, *recordSet, 1);
    }
    return recordSet;
}

// Two passes hold no more than the header and one record of the document at a
// time; the stream is wound back in between.
std::unique_ptr<clsDataRecordSet> ReadInTwoPasses(std::istream& in) {
    const std::istream::pos_type start = in.tellg();
    if (auto recordSet = ReadPlainInTwoPasses(in)) {
        return recordSet;
    }
    WindBack(in, start);
    Survey survey;
    const Json notAnObject;
    const bool isObject = ScanRecordSetJson(in, survey);
    auto recordSet = PrepareRecordSet(Field(isObject ? survey.Members() : notAnObject), survey);
    WindBack(in, start);
    FillRecords(in, *recordSet, survey.RecordsList());
    return recordSet;
}

[[noreturn]] void RefuseSize(std::uint64_t maxBytes) {
    throw FieldError("larger than " + std::to_string(maxBytes >> 20) +
                     " MB, more than any record set takes");
}

// What is left of a stream that can be wound back, measured without reading it; the stream
// is moved back by the distance it went. 0 when the end cannot be found.
std::uint64_t RemainingBytes(std::istream& in) {
    const std::istream::pos_type start = in.tellg();
    const std::istream::pos_type end = in.seekg(0, std::ios::end).tellg();
    in.clear();
    if (end == std::istream::pos_type(-1) || end <= start) {
        return 0;
    }
    in.seekg(start - end, std::ios::cur);
    return static_cast<std::uint64_t>(end - start);
}

// nlohmann's messages start with an internal tag in brackets.
std::string WithoutLibraryTag(const std::string& message) {
    const auto end = message.find("] ");
    return message.starts_with("[json.exception") && end != std::string::npos
               ? message.substr(end + 2)
               : message;
}

} // namespace

RecordSetReadResult ReadRecordSetJson(std::istream& in, std::uint64_t maxBytes) {
    RecordSetReadResult result;
    try {
        if (in.tellg() == std::istream::pos_type(-1)) {
            // A pipe cannot be wound back: it is held in memory for the two passes.
            HeldInput held;
            if (!held.Take(in, maxBytes)) {
                RefuseSize(maxBytes);
            }
            std::istream copy(&held);
            return ReadRecordSetJson(copy, maxBytes);
        }
        if (RemainingBytes(in) > maxBytes) {
            RefuseSize(maxBytes);
        }
        result.recordSet = ReadInTwoPasses(in);
    } catch (const Json::exception& error) {
        result.error = "not a valid JSON text: " + WithoutLibraryTag(error.what());
    } catch (const FieldError& error) {
        result.error = error.what();
    } catch (const std::bad_alloc&) {
        result.error = "not enough memory to read the record set";
    } catch (const std::ios_base::failure&) {
        result.error = "the file could not be read to its end";
    }
    return result;
}

} // namespace kestrix::data
