#include "export/subject_name.h"

#include "platform/codepage874.h"

namespace marksend {

std::string CleanSubjectName(std::string_view name) {
  std::string bytes = cp874::FromUtf8(name);
  static const std::string kAnd = cp874::FromUtf8("และ");
  static const std::string kOr = cp874::FromUtf8("หรือ");
  if (auto at = bytes.find('&'); at != std::string::npos) bytes.replace(at, 1, kAnd);
  if (auto at = bytes.find('/'); at != std::string::npos) bytes.replace(at, 1, kOr);
  std::string kept;
  kept.reserve(bytes.size());
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= '0') kept += c;
  return cp874::ToUtf8(kept);
}

}  // namespace marksend
