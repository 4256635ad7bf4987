#include "kestrix/data/recordSetJsonScan.h"

#include "kestrix/data/jsonValueBuilder.h"

#include <cstddef>
#include <string>
#include <utility>

namespace kestrix::data {

namespace {

using jsonField::Json;
using jsonField::JsonValueBuilder;

constexpr std::size_t kMemberDepth = 1;
constexpr std::size_t kRecordDepth = 2;

// nlohmann's SAX interface: every call answers whether to go on.
class ScanHandler {
public:
    explicit ScanHandler(RecordSetJsonEvents& events) : events_(events) {}

    bool IsObject() const { return isObject_; }

    bool null() { return Value(Json()); }
    bool boolean(bool value) { return Value(Json(value)); }
    bool number_integer(Json::number_integer_t value) { return Value(Json(value)); }
    bool number_unsigned(Json::number_unsigned_t value) { return Value(Json(value)); }
    bool number_float(Json::number_float_t value, const std::string& /*text*/) {
        return Value(Json(value));
    }
    bool string(std::string& value) { return Value(Json(std::move(value))); }
    bool binary(Json::binary_t& value) { return Value(Json(std::move(value))); }
    bool start_object(std::size_t /*size*/) { return Start(Json::object()); }
    bool start_array(std::size_t /*size*/) { return Start(Json::array()); }
    bool end_object() { return End(); }
    bool end_array() { return End(); }

    bool key(std::string& key) {
        if (sink_ == Sink::kBuild) {
            builder_.Key(std::move(key));
        } else if (sink_ == Sink::kNone) {
            key_ = std::move(key);
        }
        return true;
    }

    template <class Exception>
    bool parse_error(std::size_t /*position*/, const std::string& /*token*/,
                     const Exception& error) {
        throw error;
    }

private:
    // Where the parts of the document go: to the events, into a value being
    // put together, or nowhere.
    enum class Sink { kNone, kBuild, kSkip };

    bool Value(Json&& value) {
        if (sink_ == Sink::kBuild) {
            builder_.Add(std::move(value));
        } else if (sink_ == Sink::kNone) {
            Deliver(std::move(value));
        }
        return true;
    }

    bool Start(Json&& container) {
        if (depth_ == kMaxRecordSetNesting) {
            throw jsonField::FieldError("values nested deeper than " +
                                        std::to_string(kMaxRecordSetNesting) + " levels");
        }
        if (sink_ == Sink::kNone) {
            Route(std::move(container));
        } else if (sink_ == Sink::kBuild) {
            builder_.Start(std::move(container));
        }
        ++depth_;
        return true;
    }

    bool End() {
        --depth_;
        if (sink_ == Sink::kBuild) {
            builder_.End();
        }
        if (sink_ != Sink::kNone && depth_ == sinkDepth_) {
            if (sink_ == Sink::kBuild) {
                Deliver(builder_.Take());
            }
            sink_ = Sink::kNone;
        }
        return true;
    }

    // A container opened where no value is being put together.
    void Route(Json&& container) {
        if (depth_ == 0) {
            isObject_ = container.is_object();
            Enter(isObject_ ? Sink::kNone : Sink::kSkip);
        } else if (depth_ == kMemberDepth && key_ == kRecordsMemberName && container.is_array()) {
            events_.RecordsStart();
        } else if (depth_ == kRecordDepth || events_.WantsMember(key_)) {
            Enter(Sink::kBuild);
            builder_.Start(std::move(container));
        } else {
            Enter(Sink::kSkip);
        }
    }

    void Enter(Sink sink) {
        sink_ = sink;
        sinkDepth_ = depth_;
    }

    // A whole value at the top of the document, a member or a record.
    void Deliver(Json&& value) {
        if (depth_ == kRecordDepth) {
            events_.Record(std::move(value));
        } else if (depth_ == kMemberDepth && events_.WantsMember(key_)) {
            events_.Member(key_, std::move(value));
        }
    }

    RecordSetJsonEvents& events_;
    JsonValueBuilder builder_;
    std::string key_;
    bool isObject_ = false;
    std::size_t depth_ = 0;
    Sink sink_ = Sink::kNone;
    std::size_t sinkDepth_ = 0;
};

} // namespace

bool ScanRecordSetJson(std::istream& in, RecordSetJsonEvents& events) {
    ScanHandler handler(events);
    Json::sax_parse(in, &handler);
    return handler.IsObject();
}

} // namespace kestrix::data
