#pragma once

// Tests of the archive run once on an SQLite file and once on a PostgreSQL server of their own.

#include "kestrix/archive/archiveSettings.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "support/MissingPeer.h"
#include "support/PostgresServer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace kestrix::archive {

class ArchiveDatabase;

enum class TestEngine { kSqlite, kPostgres };

std::string EngineName(const ::testing::TestParamInfo<TestEngine>& info);

class ArchiveFixture : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override;

    // Another fresh archive of the engine under test.
    ArchiveSettings FreshArchive();

    // A fresh archive of the engine under test; an SQLite file in folder_.
    ArchiveSettings settings_;
    QTemporaryDir folder_;

private:
    test_support::PostgresServer* server_ = nullptr;
    int archives_ = 0;
};

// count records of a small instrument, one a minute from firstMinute on, at locations 1 to 3,
// with set statuses, a disabled channel, an analog value no float holds and a NaN; the values
// depend on the minute alone, so two downloads agree where they overlap.
std::unique_ptr<data::clsDataRecordSet> MakeDownload(const std::string& model, std::int32_t serial,
                                                     std::int32_t count,
                                                     std::int32_t firstMinute = 0);

// Takes the archive back to the tables of the first schema version, its chain kept.
void DowngradeToFirstVersion(ArchiveDatabase& database);

} // namespace kestrix::archive
