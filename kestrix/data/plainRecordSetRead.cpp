#include "kestrix/data/plainRecordSetRead.h"

#include "kestrix/data/ChunkedInput.h"
#include "kestrix/data/jsonField.h"
#include "kestrix/data/plainJson.h"
#include "kestrix/data/plainRecord.h"
#include "kestrix/data/recordSetFile.h"
#include "kestrix/data/recordSetHeader.h"
#include "kestrix/data/recordSetJsonScan.h"

#include <set>
#include <string>
#include <string_view>

namespace kestrix::data {

namespace {

using jsonField::Field;
using jsonField::Json;

// A record or a header member is read only when it lies whole in a window of this size; the
// writer's are far smaller.
constexpr std::size_t kLookahead = std::size_t{256} << 10;
constexpr std::size_t kBlockSize = std::size_t{4} << 20;
// The top-level object takes one level of the nesting limit.
constexpr std::size_t kMaxMemberNesting = kMaxRecordSetNesting - 1;

class PlainEvents {
public:
    virtual ~PlainEvents() = default;
    // A top-level member other than the records, as its unparsed text.
    virtual void Member(const std::string& key, std::string_view text) = 0;
    virtual void Record(const PlainRecord& record) = 0;
};

// Walks the top-level object: members the general reader takes, each once, one of them the
// records list; nothing but whitespace after it.
class PlainWalk {
public:
    PlainWalk(std::istream& in, PlainEvents& events)
        : input_(in, kLookahead, kBlockSize), events_(events) {}

    void Run() {
        InWindow([](PlainJson& json) { json.Expect('{'); });
        bool more = true;
        while (more) {
            Member();
            InWindow([&more](PlainJson& json) {
                more = json.Take(',');
                if (!more) {
                    json.Expect('}');
                }
            });
        }
        ExpectEnd();
        if (seen_.count(kRecordsMemberName) == 0) {
            throw NotPlainJson();
        }
    }

private:
    template <typename Read>
    void InWindow(Read read) {
        PlainJson json(input_.Window());
        read(json);
        input_.Consume(json.Consumed());
    }

    void Member() {
        std::string key;
        InWindow([&key](PlainJson& json) {
            key = json.Text();
            json.Expect(':');
        });
        if (!IsRecordSetMember(key) || !seen_.insert(key).second) {
            throw NotPlainJson();
        }
        if (key == kRecordsMemberName) {
            Records();
        } else {
            InWindow(
                [&](PlainJson& json) { events_.Member(key, json.ValueText(kMaxMemberNesting)); });
        }
    }

    void Records() {
        bool more = false;
        InWindow([&more](PlainJson& json) {
            json.Expect('[');
            more = !json.Take(']');
        });
        while (more) {
            InWindow([&](PlainJson& json) {
                ReadPlainRecord(json, record_);
                more = json.Take(',');
                if (!more) {
                    json.Expect(']');
                }
            });
            events_.Record(record_);
        }
    }

    void ExpectEnd() {
        for (std::string_view window = input_.Window(); !window.empty(); window = input_.Window()) {
            if (!PlainJson(window).AtEnd()) {
                throw NotPlainJson();
            }
            input_.Consume(window.size());
        }
    }

    ChunkedInput input_;
    PlainEvents& events_;
    std::set<std::string, std::less<>> seen_;
    PlainRecord record_;
};

// First pass: the header members parsed, the records counted; they must all have one shape.
class PlainSurvey : public PlainEvents {
public:
    void Member(const std::string& key, std::string_view text) override {
        try {
            members_[key] = Json::parse(text);
        } catch (const Json::exception&) {
            throw NotPlainJson();
        }
    }

    void Record(const PlainRecord& record) override {
        if (count_ == 0) {
            shape_ = record.Shape();
        }
        if (record.Shape() != shape_ || ++count_ > kRecordSetFileMaxRecords) {
            throw NotPlainJson();
        }
    }

    const Json& Members() const { return members_; }
    std::size_t Count() const { return count_; }
    const RecordShape& Shape() const { return shape_; }

private:
    Json members_ = Json::object();
    std::size_t count_ = 0;
    RecordShape shape_;
};

// Second pass: each record stored in turn; the same number and shape as the first pass found.
class PlainFiller : public PlainEvents {
public:
    explicit PlainFiller(clsDataRecordSet& recordSet) : recordSet_(recordSet) {
        record_.SetPartChanCount(recordSet.GetPartChanCount());
        record_.SetAnalogChanCount(recordSet.GetAnalogChanCount());
    }

    void Member(const std::string& /*key*/, std::string_view /*text*/) override {}

    void Record(const PlainRecord& plain) override {
        const RecordShape shape{static_cast<std::size_t>(recordSet_.GetPartChanCount()),
                                static_cast<std::size_t>(recordSet_.GetAnalogChanCount())};
        if (filled_ >= recordSet_.RecordCount() || plain.Shape() != shape) {
            throw NotPlainJson();
        }
        plain.CopyTo(record_);
        recordSet_.RecordCopy(filled_++, &record_);
    }

    bool Complete() const { return filled_ == recordSet_.RecordCount(); }

private:
    clsDataRecordSet& recordSet_;
    clsDataRecord record_;
    std::int32_t filled_ = 0;
};

std::unique_ptr<clsDataRecordSet> PrepareFromSurvey(std::istream& in) {
    PlainSurvey survey;
    PlainWalk(in, survey).Run();
    const Field file(survey.Members());
    const RecordSetHeader header = ReadRecordSetHeader(file);
    const RecordShape channels{header.particleTypes.size(), header.analogTypes.size()};
    if (survey.Count() > 0 && survey.Shape() != channels) {
        throw NotPlainJson();
    }
    return PrepareRecordSet(file, header, survey.Count());
}

} // namespace

std::unique_ptr<clsDataRecordSet> SurveyPlainRecordSet(std::istream& in) {
    try {
        return PrepareFromSurvey(in);
    } catch (const NotPlainJson&) {
    } catch (const jsonField::FieldError&) {
    }
    return nullptr;
}

bool FillPlainRecords(std::istream& in, clsDataRecordSet& recordSet) {
    PlainFiller filler(recordSet);
    try {
        PlainWalk(in, filler).Run();
    } catch (const NotPlainJson&) {
        return false;
    }
    return filler.Complete();
}

} // namespace kestrix::data
