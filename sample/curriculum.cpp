#include "sample/curriculum.h"

#include <map>
#include <utility>

namespace marksend::sample {

namespace {

// One subject as taught at every level of a curriculum; the level and term
// add a number to the name and build the report code.
struct Template {
  const char* letter;  // subject-group letter of the report code; "" for none
  const char* name;
  int type;
  int group;
  double credits;  // per term (per year when year-long)
  bool yearLong;
  bool numbered;
};

// Four ways of sharing 100 marks between the four score parts.
constexpr FullMarks kMarkPlans[] = {{20, 20, 20, 40}, {30, 20, 20, 30}, {25, 20, 25, 30}, {40, 0, 30, 30}};

const std::vector<Template> kLower = {
    {"ท", "ภาษาไทย", 1, 1, 1.5, false, true},
    {"ค", "คณิตศาสตร์", 1, 2, 1.5, false, true},
    {"ว", "วิทยาศาสตร์", 1, 3, 1.5, false, true},
    {"ส", "สังคมศึกษา ศาสนา และวัฒนธรรม", 1, 4, 1.0, false, true},
    {"ส", "ประวัติศาสตร์", 1, 4, 0.5, false, true},
    {"ศ", "ศิลปะ (ทัศนศิลป์/ดนตรี)", 1, 6, 1.0, false, true},
    {"ง", "การงานอาชีพ & เทคโนโลยี", 1, 7, 1.0, false, true},
    {"อ", "ภาษาอังกฤษ", 1, 8, 1.5, false, true},
    {"ค", "คณิตศาสตร์ & วิทยาศาสตร์", 2, 2, 1.0, false, true},
    {"อ", "ภาษาอังกฤษเพื่อการสื่อสาร (ฟัง-พูด)", 2, 8, 0.5, false, true},
    {"พ", "สุขศึกษา/พลศึกษา", 1, 5, 2.0, true, true},
    {"ก", "กิจกรรมแนะแนว", 3, 9, 0, true, false},
    {"ก", "ลูกเสือ-เนตรนารี", 3, 9, 0, true, false},
    {"", "ชุมนุม", 3, 9, 0, true, false},
};

const std::vector<Template> kUpper = {
    {"ท", "ภาษาไทย", 1, 1, 1.0, false, true},
    {"ค", "คณิตศาสตร์", 1, 2, 1.0, false, true},
    {"ว", "วิทยาศาสตร์", 1, 3, 1.5, false, true},
    {"ส", "สังคมศึกษา ศาสนา และวัฒนธรรม", 1, 4, 1.0, false, true},
    {"ส", "ประวัติศาสตร์", 1, 4, 0.5, false, true},
    {"พ", "สุขศึกษา/พลศึกษา", 1, 5, 0.5, false, true},
    {"ศ", "ศิลปะ & ดนตรี & นาฏศิลป์", 1, 6, 0.5, false, true},
    {"ง", "การงานอาชีพ & เทคโนโลยี", 1, 7, 0.5, false, true},
    {"อ", "ภาษาอังกฤษ", 1, 8, 1.0, false, true},
    {"ค", "คณิตศาสตร์เพิ่มเติม", 2, 2, 1.5, false, true},
    {"ว", "ฟิสิกส์", 2, 3, 1.5, false, true},
    {"ว", "วิทยาการคำนวณ (Computer Science)", 2, 3, 0.5, false, true},
    {"ก", "กิจกรรมแนะแนว", 3, 9, 0, false, false},
};

std::string TwoDigits(int n) { return std::string(1, char('0' + n / 10)) + char('0' + n % 10); }

std::vector<Subject> BuildSubjects() {
  std::vector<Subject> subjects;
  for (int level = 1; level <= 6; ++level) {
    const int curriculum = CurriculumOfLevel(level);
    const int yearInLevel = (level - 1) % 3 + 1;
    const auto& templates = curriculum == 1 ? kLower : kUpper;
    std::map<std::pair<std::string, int>, int> sequence;  // (letter, type) -> last number
    for (int term : TermsOfCurriculum(curriculum)) {
      for (size_t t = 0; t < templates.size(); ++t) {
        const Template& plan = templates[t];
        if (plan.yearLong != (term == 0)) continue;
        Subject s;
        s.id = static_cast<int>(subjects.size()) + 1;
        const int seq = ++sequence[{plan.letter, plan.type}];
        if (*plan.letter) {
          const char typeDigit = plan.type == 3 ? '9' : char('0' + plan.type);
          s.code = std::string(plan.letter) + (curriculum == 1 ? '2' : '3') + char('0' + yearInLevel) + typeDigit +
                   TwoDigits(seq);
        }
        s.name = plan.name;
        if (plan.numbered) {
          const int number = term == 0 ? yearInLevel : (yearInLevel - 1) * 2 + term;
          s.name += " " + std::to_string(number);
        }
        s.curriculum = curriculum;
        s.type = plan.type;
        s.group = plan.group;
        s.credits = plan.credits;
        s.hours = plan.type == 3 ? (term == 0 ? 40 : 20) : static_cast<int>(plan.credits * 40);
        s.level = level;
        s.term = term;
        if (plan.type != 3) s.full = kMarkPlans[t % 4];
        subjects.push_back(std::move(s));
      }
    }
  }
  return subjects;
}

}  // namespace

const std::vector<Grade>& Grades() {
  static const std::vector<Grade> grades = {
      {kNoGrade, "", std::nullopt}, {kGrade4, "4", 4.0},   {kGrade3_5, "3.5", 3.5},
      {kGrade3, "3", 3.0},          {kGrade2_5, "2.5", 2.5}, {kGrade2, "2", 2.0},
      {kGrade1_5, "1.5", 1.5},      {kGrade1, "1", 1.0},   {kGrade0, "0", 0.0},
      {kIncomplete, "ร", std::nullopt}, {kBarred, "มส", std::nullopt}, {kPass, "ผ", std::nullopt},
      {kFail, "มผ", std::nullopt}};
  return grades;
}

int GradeForPercent(double percent) {
  constexpr std::pair<double, int> kSteps[] = {{80, kGrade4},   {75, kGrade3_5}, {70, kGrade3}, {65, kGrade2_5},
                                               {60, kGrade2},   {55, kGrade1_5}, {50, kGrade1}};
  for (const auto& [least, grade] : kSteps)
    if (percent >= least) return grade;
  return kGrade0;
}

const std::vector<Subject>& Subjects() {
  static const std::vector<Subject> subjects = BuildSubjects();
  return subjects;
}

std::vector<int> TermsOfCurriculum(int curriculum) {
  return curriculum == 1 ? std::vector<int>{0, 1, 2} : std::vector<int>{1, 2};
}

const std::vector<NamedRow>& Terms() {
  static const std::vector<NamedRow> rows = {{0, "ตลอดปีการศึกษา"}, {1, "ภาคเรียนที่ 1"}, {2, "ภาคเรียนที่ 2"}};
  return rows;
}

const std::vector<NamedRow>& Curricula() {
  static const std::vector<NamedRow> rows = {{1, "มัธยมศึกษาตอนต้น"}, {2, "มัธยมศึกษาตอนปลาย"}};
  return rows;
}

const std::vector<NamedRow>& SubjectGroups() {
  static const std::vector<NamedRow> rows = {
      {1, "ภาษาไทย"},   {2, "คณิตศาสตร์"},          {3, "วิทยาศาสตร์และเทคโนโลยี"},
      {4, "สังคมศึกษา ศาสนา และวัฒนธรรม"}, {5, "สุขศึกษาและพลศึกษา"}, {6, "ศิลปะ"},
      {7, "การงานอาชีพ"}, {8, "ภาษาต่างประเทศ"},      {9, "กิจกรรมพัฒนาผู้เรียน"}};
  return rows;
}

const std::vector<NamedRow>& SubjectTypes() {
  static const std::vector<NamedRow> rows = {{1, "พื้นฐาน"}, {2, "เพิ่มเติม"}, {3, "กิจกรรม"}};
  return rows;
}

const std::vector<NamedRow>& Prefixes() {
  static const std::vector<NamedRow> rows = {{kBoy, "เด็กชาย"}, {kGirl, "เด็กหญิง"}, {kMister, "นาย"}, {kMiss, "นางสาว"}};
  return rows;
}

}  // namespace marksend::sample
