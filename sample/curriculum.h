// The sample school's fixed reference data: grades, terms, subject groups,
// the two curricula and the subjects taught at each grade level.
// Pure; thread-safe.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace marksend::sample {

// Grade identifiers of RegBGrade; kNoGrade marks "no re-grade".
enum GradeId : int {
  kNoGrade = 0,
  kGrade4 = 1,
  kGrade3_5,
  kGrade3,
  kGrade2_5,
  kGrade2,
  kGrade1_5,
  kGrade1,
  kGrade0,
  kIncomplete,  // ร
  kBarred,      // มส: not admitted to the final
  kPass,        // ผ: activities
  kFail,        // มผ
};

struct Grade {
  int id;
  std::string name;
  std::optional<double> point;  // none: not counted in an average
};
const std::vector<Grade>& Grades();

// The grade of a total of marks as a percentage of the full marks.
int GradeForPercent(double percent);

struct FullMarks {
  double b, m, a, f;  // before mid-term, mid-term, after mid-term, final
};

struct Subject {
  int id;
  std::optional<std::string> code;  // some activities have no report code
  std::string name;
  int curriculum;  // 1 lower secondary (hours), 2 upper secondary (credits)
  int type;        // 1 basic, 2 additional, 3 activity
  int group;       // 1 Thai ... 8 foreign languages, 9 activities
  double credits;
  int hours;
  int level;  // 1..6 for ม.1..ม.6
  int term;   // 0 year-long, 1, 2
  std::optional<FullMarks> full;  // none for activities, which are not marked
};

// Every subject, ordered by level, term and SubjectID.
const std::vector<Subject>& Subjects();

// The curriculum of a grade level (1..6).
inline int CurriculumOfLevel(int level) { return level <= 3 ? 1 : 2; }
// The terms of a curriculum, in order: the lower one has the year-long term 0.
std::vector<int> TermsOfCurriculum(int curriculum);

struct NamedRow {
  int id;
  std::string name;
};
const std::vector<NamedRow>& Terms();
const std::vector<NamedRow>& Curricula();
const std::vector<NamedRow>& SubjectGroups();
const std::vector<NamedRow>& SubjectTypes();

// Prefixes of ComBPrefix.
enum PrefixId : int { kBoy = 1, kGirl = 2, kMister = 3, kMiss = 4 };
const std::vector<NamedRow>& Prefixes();

}  // namespace marksend::sample
