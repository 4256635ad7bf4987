// Which events a filter chooses: by user, kind, instrument and an inclusive time range, with
// the local times of a workstation's archive and the UTC times of a server's compared as
// instants.

#include "kestrix/archive/eventFilter.h"

#include <gmock/gmock.h>

namespace kestrix::archive {
namespace {

EventEntry Event(std::int64_t id, const std::string& time, const std::string& user,
                 const std::string& kind, const std::string& model, std::int32_t serial) {
    EventEntry entry;
    entry.event.id = id;
    entry.event.happenedAt = time;
    entry.event.userName = user;
    entry.event.kind = kind;
    entry.model = model;
    entry.serial = serial;
    return entry;
}

TEST(EventFilter, ChoosesByEveryFieldTogether) {
    const QDateTime local(QDate(2026, 3, 1), QTime(8, 0));
    const std::string utcNine =
        local.addSecs(3600).toUTC().toString(Qt::ISODateWithMs).toStdString();
    const std::vector<EventEntry> events = {
        Event(1, "2026-03-01T08:00:00.000", "anna", "download", "Model 9", 7),
        Event(2, utcNine, "ben", "signature", "Model 9", 7),
        Event(3, "2026-03-01T10:00:00.250", "anna", "export", "Model 4", 7),
        Event(4, "2026-03-01T11:00:00", "anna", "user added", "", 0),
    };
    struct Case {
        const char* name;
        EventFilter filter;
        std::vector<std::int64_t> ids;
    };
    const Case cases[] = {
        {"none", {}, {1, 2, 3, 4}},
        {"user", {.user = "anna"}, {1, 3, 4}},
        {"kind and user", {.user = "ben", .kind = "signature"}, {2}},
        {"serial of two models", {.serial = 7}, {1, 2, 3}},
        {"model and serial", {.model = "Model 4", .serial = 7}, {3}},
        {"model", {.model = "Model 9"}, {1, 2}},
        {"no such serial", {.serial = 8}, {}},
        {"bounds included", {.from = local, .to = local.addSecs(3600)}, {1, 2}},
        {"a server's time within local bounds",
         {.from = local.addSecs(1), .to = local.addSecs(7200)},
         {2}},
        {"milliseconds count", {.from = QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0, 251))}, {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::int64_t> ids;
        for (const EventEntry& entry : FilterEvents(events, c.filter)) {
            ids.push_back(entry.event.id);
        }
        EXPECT_EQ(ids, c.ids);
    }
}

} // namespace
} // namespace kestrix::archive
