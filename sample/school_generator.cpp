#include "sample/school_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "sample/curriculum.h"
#include "sample/sample_random.h"
#include "sample/schema_sql.h"
#include "sample/sqlite_db.h"
#include "sample/thai_names.h"

namespace marksend::sample {

namespace {

constexpr int kRoomSize = 40;
constexpr int kYearsKept = 3;  // the chosen year and the two before it

// A student's place in the school: `stage` is the grade level in the chosen
// year (7 and 8: left after ม.6 one or two years before), `entryLevel` 1,
// or 4 for those who joined for the upper curriculum.
struct Person {
  int stage = 1;
  int index = 0;  // within the stage's cohort
  int entryLevel = 1;
  bool boy = true;
  std::uint64_t seed = 0;
  int id = 0;
};

// Special cases that small samples must hold.
struct Forced {
  bool zeroThenRegrade = false;
  bool barredThenSettled = false;
  bool noBirthDate = false;
};

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::string IsoDateOfDays(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int y = static_cast<int>(yoe + era * 400 + (m <= 2));
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
  return text;
}

std::string IsoDate(int y, int m, int d) { return IsoDateOfDays(DaysFromCivil(y, m, d)); }

class Generator {
 public:
  Generator(Database& db, const SampleOptions& options) : db_(db), options_(options) {}

  void Run() {
    WriteReferenceTables();
    PlacePeople();
    WritePeople();
    WriteClassRooms();
    WriteFullMarks();
    WriteRecords();
  }

 private:
  int FirstYear() const { return options_.year - (kYearsKept - 1); }
  int Rooms() const { return std::max(1, (CohortSize(1) + kRoomSize - 1) / kRoomSize); }
  int ClassId(int level, int room) const { return (level - 1) * Rooms() + room + 1; }

  // Cohorts of the chosen year share the students evenly; the two cohorts
  // that have left are as large as a full share.
  int CohortSize(int stage) const {
    const int share = options_.students / 6, rest = options_.students % 6;
    return stage <= 6 ? share + (stage - 1 < rest ? 1 : 0) : share;
  }

  // The grade level of a person in an academic year; 0 when not at school.
  int LevelIn(const Person& p, int year) const {
    const int level = p.stage - (options_.year - year);
    return level >= p.entryLevel && level >= 1 && level <= 6 ? level : 0;
  }

  void WriteReferenceTables() {
    auto tambon = db_.Prepare("INSERT INTO ComBTambon VALUES (?, ?)");
    const char* tambons[] = {"ในเมือง", "บ้านเป็ด", "หนองบัว", "ศิลา", "โคกสี"};
    for (int i = 0; i < 5; ++i) tambon.Run(i + 1, tambons[i]);
    const int gregorian = options_.year - 543;
    db_.Prepare("INSERT INTO ComMSchool VALUES (?, ?, ?, ?, ?, ?)")
        .Run("1040130017", "โรงเรียน", "หนองบัววิทยาคม", 3, IsoDate(gregorian, 5, 16), IsoDate(gregorian, 11, 1));

    const auto named = [this](const char* table, const std::vector<NamedRow>& rows) {
      auto insert = db_.Prepare(std::string("INSERT INTO ") + table + " VALUES (?, ?)");
      for (const auto& row : rows) insert.Run(row.id, row.name);
    };
    named("ComBPrefix", Prefixes());
    named("RegBCurriculum", Curricula());
    named("RegBTerm", Terms());
    named("RegBSubjectGroup", SubjectGroups());
    named("RegBSubjectType", SubjectTypes());

    auto grade = db_.Prepare("INSERT INTO RegBGrade VALUES (?, ?, ?)");
    for (const auto& g : Grades()) grade.Run(g.id, g.name, g.point);

    auto classRoom = db_.Prepare("INSERT INTO RegBClass VALUES (?, ?, ?, ?)");
    for (int level = 1; level <= 6; ++level)
      for (int room = 0; room < Rooms(); ++room)
        classRoom.Run(ClassId(level, room), "ม." + std::to_string(level) + "/" + std::to_string(room + 1), level,
                      CurriculumOfLevel(level));

    auto subject = db_.Prepare("INSERT INTO RegMSubject VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    for (const auto& s : Subjects())
      subject.Run(s.id, s.code, s.name, s.curriculum, s.type, s.group, s.credits, s.hours);
  }

  // Decides who is at school when, then numbers the persons in the order
  // they joined, as a registry would.
  void PlacePeople() {
    for (int stage = 8; stage >= 1; --stage) {
      for (int i = 0; i < CohortSize(stage); ++i) {
        Person p;
        p.stage = stage;
        p.index = i;
        p.seed = Random::Derive(options_.seed, static_cast<std::uint64_t>(stage) * 10'000'000 + i);
        Random random(p.seed);
        p.boy = random.Chance(0.5);
        if (stage >= 4 && random.Chance(0.25)) p.entryLevel = 4;
        people_.push_back(p);
      }
    }
    const auto joined = [this](const Person& p) { return options_.year - (p.stage - p.entryLevel); };
    std::stable_sort(people_.begin(), people_.end(),
                     [&](const Person& a, const Person& b) { return joined(a) < joined(b); });
    std::vector<size_t> current;  // positions of the chosen year's students
    for (size_t i = 0; i < people_.size(); ++i) {
      people_[i].id = static_cast<int>(i) + 1;
      if (people_[i].stage <= 6) current.push_back(i);
    }
    forced_.resize(people_.size());
    if (!current.empty()) {
      forced_[current[0]].zeroThenRegrade = true;
      forced_[current[1 % current.size()]].barredThenSettled = true;
      forced_[current[2 % current.size()]].noBirthDate = true;
    }
  }

  void WritePeople() {
    auto insert = db_.Prepare("INSERT INTO ComMPerson VALUES (?, ?, ?, ?, ?, ?)");
    const int gregorian = options_.year - 543;
    for (size_t i = 0; i < people_.size(); ++i) {
      const Person& p = people_[i];
      Random random(Random::Derive(p.seed, 1));
      const int prefix = p.boy ? (p.stage <= 3 ? kBoy : kMister) : (p.stage <= 3 ? kGirl : kMiss);
      const std::string first = p.boy ? BoyFirstName(random) : GirlFirstName(random);
      const std::string last = FamilyName(random);
      // Born within the year before the cohort's ม.1 began, aged 12 to 13.
      const long born = DaysFromCivil(gregorian - 13 - (p.stage - 1), 5, 16) + random.Below(365);
      std::optional<std::string> birthDate;
      if (!forced_[i].noBirthDate && !random.Chance(1.0 / 60)) birthDate = IsoDateOfDays(born);
      insert.Run(p.id, std::to_string(10000 + p.id), prefix, first, last, birthDate);
    }
  }

  // Rooms are kept from year to year; boys are numbered before girls.
  void WriteClassRooms() {
    std::vector<std::tuple<int, int, bool, int>> rows;  // year, class, girl, person
    for (const Person& p : people_)
      for (int year = FirstYear(); year <= options_.year; ++year)
        if (int level = LevelIn(p, year)) rows.emplace_back(year, ClassId(level, p.index % Rooms()), !p.boy, p.id);
    std::sort(rows.begin(), rows.end());
    auto insert = db_.Prepare("INSERT INTO RegTClassRoom VALUES (?, ?, ?, ?)");
    int number = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
      const auto& [year, classId, girl, person] = rows[i];
      const bool newRoom = i == 0 || std::get<0>(rows[i - 1]) != year || std::get<1>(rows[i - 1]) != classId;
      number = newRoom ? 1 : number + 1;
      insert.Run(year, classId, person, number);
    }
  }

  void WriteFullMarks() {
    auto insert = db_.Prepare("INSERT INTO RegMScoreItem VALUES (?, ?, ?, ?, ?, ?, ?)");
    for (const auto& s : Subjects())
      if (s.full)
        for (int year = FirstYear(); year <= options_.year; ++year)
          insert.Run(s.id, year, s.term, s.full->b, s.full->m, s.full->a, s.full->f);
  }

  void WriteRecords() {
    auto transcript = db_.Prepare("INSERT INTO RegTTranscript VALUES (?, ?, ?, ?, ?, ?, ?)");
    auto score = db_.Prepare("INSERT INTO RegTScore VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    const int total = static_cast<int>(people_.size());
    const int step = std::max(1, total / 10);
    for (size_t i = 0; i < people_.size(); ++i) {
      WriteRecordsOf(people_[i], forced_[i], transcript, score);
      const int done = static_cast<int>(i) + 1;
      if (options_.progress && (done % step == 0 || done == total)) options_.progress(done, total);
    }
  }

  void WriteRecordsOf(const Person& p, Forced forced, Statement& transcript, Statement& score) {
    Random random(Random::Derive(p.seed, 2));
    const double ability = random.Between(0.52, 0.93);
    for (int year = FirstYear(); year <= options_.year; ++year) {
      const int level = LevelIn(p, year);
      if (!level) continue;
      for (const Subject& s : Subjects()) {
        if (s.level != level) continue;
        Entry e = MakeEntry(s, ability, random, forced);
        transcript.Run(p.id, year, s.term, s.id, e.grade, e.regrade, e.settled);
        if (s.full) score.Run(p.id, year, s.term, s.id, e.b, e.m, e.a, e.f);
      }
    }
  }

  struct Entry {
    int grade = kNoGrade, regrade = kNoGrade, settled = kNoGrade;
    std::optional<double> b, m, a, f;
  };

  // Marks and grades of one subject; a forced case is used up by the
  // person's first marked subject of a first term.
  Entry MakeEntry(const Subject& s, double ability, Random& random, Forced& forced) {
    Entry e;
    if (!s.full) {
      e.grade = random.Chance(0.03) ? kFail : kPass;
      return e;
    }
    double skill = std::clamp(ability + random.Between(-0.1, 0.1), 0.05, 1.0);
    const bool makeZero = forced.zeroThenRegrade && s.term == 1;
    const bool makeBarred = !makeZero && forced.barredThenSettled && s.term == 1;
    if (makeZero) skill = 0.3, forced.zeroThenRegrade = false;
    if (makeBarred) forced.barredThenSettled = false;
    const auto part = [&](double full, bool halves) -> double {
      const double mark = full * std::clamp(skill + random.Between(-0.1, 0.1), 0.0, 1.0);
      return halves ? std::round(mark * 2) / 2 : std::round(mark);
    };
    const FullMarks& full = *s.full;
    e.b = part(full.b, true);
    e.m = part(full.m, false);
    e.a = part(full.a, true);
    e.f = part(full.f, false);
    const double percent = (*e.b + *e.m + *e.a + *e.f) * 100 / (full.b + full.m + full.a + full.f);
    const double outcome = random.Unit();
    if (makeBarred || outcome < 0.008) {
      // Not admitted to the final; a later examination settles it at most at 1.
      e.f.reset();
      e.grade = kBarred;
      if (makeBarred || random.Chance(0.7)) {
        e.settled = random.Chance(0.8) ? kGrade1 : kGrade0;
        if (e.settled == kGrade0 && random.Chance(0.6)) e.regrade = kGrade1;
      }
    } else if (outcome < 0.02) {
      // Work missing at the final; handing it in later settles the grade.
      e.f.reset();
      e.grade = kIncomplete;
      if (random.Chance(0.75)) e.settled = GradeForPercent(percent);
    } else {
      e.grade = GradeForPercent(percent);
      if (e.grade == kGrade0 && (makeZero || random.Chance(0.8))) e.regrade = kGrade1;
    }
    return e;
  }

  Database& db_;
  const SampleOptions& options_;
  std::vector<Person> people_;
  std::vector<Forced> forced_;
};

}  // namespace

void WriteSampleSchool(const std::filesystem::path& path, const SampleOptions& options) {
  Database db = Database::Create(path);
  // One transaction and no journal: the file is new and is thrown away on failure.
  db.Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536; BEGIN;");
  db.Exec(SchemaSql());
  Generator(db, options).Run();
  db.Exec("COMMIT;");
  db.Close();
}

}  // namespace marksend::sample
