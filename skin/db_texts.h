#pragma once
// Texts of the data-aware controls.
namespace kavri {

inline constexpr const char* SFirstRecord = "First record";
inline constexpr const char* SPriorRecord = "Prior record";
inline constexpr const char* SNextRecord = "Next record";
inline constexpr const char* SLastRecord = "Last record";
inline constexpr const char* SInsertRecord = "Insert record";
inline constexpr const char* SDeleteRecord = "Delete record";
inline constexpr const char* SEditRecord = "Edit record";
inline constexpr const char* SPostEdit = "Post edit";
inline constexpr const char* SCancelEdit = "Cancel edit";
inline constexpr const char* SRefreshRecord = "Refresh data";
inline constexpr const char* SDeleteRecordQuestion = "Delete record?";

}  // namespace kavri
