#pragma once
#include <QString>
#include <stdexcept>

namespace kavri {

// Every failure of the data layer: a closed or empty set, a bad field value, or the database's own
// refusal (its message unchanged).
class EDatabaseError : public std::runtime_error {
 public:
  explicit EDatabaseError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

}  // namespace kavri
