#pragma once

#include <stdexcept>
#include <string>

namespace kalnor {

// A failure of the database layer, with a Spanish description for the user.
// Codes follow the numbering users of the classic Access engine know, so the
// error record keeps meaningful numbers.
class DbError : public std::runtime_error {
public:
    static constexpr int kGeneric = 3000;
    static constexpr int kNoCurrentRecord = 3021;
    static constexpr int kDuplicateValue = 3022;
    static constexpr int kFileNotFound = 3024;
    static constexpr int kCannotOpen = 3051;
    static constexpr int kTableNotFound = 3078;
    static constexpr int kBadRowSource = 3131;
    static constexpr int kRecordDeleted = 3167;
    static constexpr int kFieldExists = 3191;
    static constexpr int kDatabaseExists = 3204;
    static constexpr int kLocked = 3218;
    static constexpr int kNotUpdating = 3020;
    static constexpr int kFieldNotFound = 3265;
    static constexpr int kRequiredField = 3314;
    static constexpr int kValidationRule = 3317;
    static constexpr int kNotADatabase = 3343;
    static constexpr int kDamaged = 3049;
    static constexpr int kAccessFile = 3344;
    static constexpr int kTypeMismatch = 3421;
    static constexpr int kReadOnly = 3027;
    static constexpr int kNotOpen = 3420;
    // The file holds something Kalnor does not admit (a generated column,
    // say): refused as it is, not as damage.
    static constexpr int kUnsupported = 3251;
    // A statement ran past its time and was stopped.
    static constexpr int kInterrupted = 3059;

    explicit DbError(const std::string& message, int code = kGeneric)
        : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

} // namespace kalnor
