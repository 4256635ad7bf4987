#pragma once

// Setting up a shared PostgreSQL archive, once, by the database's owner: the tables, three group
// roles and what each may do, and the audit tables made append-only. Users are then added to a
// group; nobody logs in as the owner for daily work.
//   kestrix_operator  downloads, imports and notes: reads and appends
//   kestrix_reviewer  as an operator, and signs
//   kestrix_admin     as a reviewer
// No group may UPDATE, DELETE or TRUNCATE the downloads, the records or the events, and
// triggers refuse those to the owner too until they are dropped on purpose.

#include "kestrix/archive/archiveSettings.h"

#include <string>

namespace kestrix::archive {

class Archive;

inline constexpr const char* kOperatorGroup = "kestrix_operator";
inline constexpr const char* kReviewerGroup = "kestrix_reviewer";
inline constexpr const char* kAdminGroup = "kestrix_admin";

// Safe to run again. Throws ArchiveError, also for an SQLite archive.
void SetUpServer(Archive& archive);

// The group of a role name: operator, reviewer or admin; empty for any other.
std::string GroupOfRole(const std::string& role);

// A login role in the group, with its password and, when given, its full name as the role's
// comment, which signatures show as the printed name; noted in the trail. Throws ArchiveError for a
// name other than lower-case letters, digits and underscores.
void AddServerUser(Archive& archive, const std::string& name, const std::string& group,
                   const std::string& password, const std::string& fullName);

} // namespace kestrix::archive
