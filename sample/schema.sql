-- The sample school's database: the tables and views that the export reads,
-- with the base tables behind the views. Dates are DATE columns holding
-- ISO-8601 text; academic years are Buddhist-era integers.
--
-- Indexes follow the export's statements: each per-student, per-term and
-- per-subject statement must be an index search. The views are plain joins
-- (flattened into the statement) or GROUP BY views filtered only on their
-- group-by columns, so SQLite pushes the filter down into the base tables.

CREATE TABLE ComBTambon (
  TambonID   INTEGER PRIMARY KEY,
  TambonName TEXT NOT NULL
);

CREATE TABLE ComMSchool (
  SchoolCode  TEXT PRIMARY KEY,
  SchooPrefix TEXT,
  SchoolName  TEXT,
  TambonID    INTEGER REFERENCES ComBTambon (TambonID),
  Term1Date   DATE,
  Term2Date   DATE
);

CREATE TABLE ComBPrefix (
  PrefixID   INTEGER PRIMARY KEY,
  PrefixName TEXT NOT NULL
);

CREATE TABLE ComMPerson (
  PersonID   INTEGER PRIMARY KEY,
  PersonCode TEXT NOT NULL UNIQUE,
  PrefixID   INTEGER NOT NULL REFERENCES ComBPrefix (PrefixID),
  FirstName  TEXT NOT NULL,
  LastName   TEXT NOT NULL,
  BirthDate  DATE
);

CREATE TABLE RegBCurriculum (
  CurriculumID   INTEGER PRIMARY KEY,
  CurriculumName TEXT NOT NULL
);

-- A class room of one grade level; the same rooms serve every year.
CREATE TABLE RegBClass (
  ClassID      INTEGER PRIMARY KEY,
  ClassName    TEXT NOT NULL,
  LevelNo      INTEGER NOT NULL,
  CurriculumID INTEGER NOT NULL REFERENCES RegBCurriculum (CurriculumID)
);

-- Which room a student sat in, per academic year.
CREATE TABLE RegTClassRoom (
  AcademicYear INTEGER NOT NULL,
  ClassID      INTEGER NOT NULL REFERENCES RegBClass (ClassID),
  PersonID     INTEGER NOT NULL REFERENCES ComMPerson (PersonID),
  StudentNo    INTEGER NOT NULL
);
CREATE INDEX RegTClassRoom_Year ON RegTClassRoom (AcademicYear, ClassID, StudentNo);
CREATE INDEX RegTClassRoom_Person ON RegTClassRoom (PersonID, AcademicYear);

-- Term 0 is the whole year (year-long subjects of the lower curriculum).
CREATE TABLE RegBTerm (
  TermID   INTEGER PRIMARY KEY,
  TermName TEXT NOT NULL
);

CREATE TABLE RegBSubjectGroup (
  SubjectGroupID   INTEGER PRIMARY KEY,
  SubjectGroupName TEXT NOT NULL
);

CREATE TABLE RegBSubjectType (
  SubjectTypeID   INTEGER PRIMARY KEY,
  SubjectTypeName TEXT NOT NULL
);

-- Credits and SubjectHours are both kept; the lower curriculum reports
-- hours, the upper one credits. Credits weight the grade averages.
CREATE TABLE RegMSubject (
  SubjectID         INTEGER PRIMARY KEY,
  ReportSubjectCode TEXT,
  SubjectName       TEXT NOT NULL,
  CurriculumID      INTEGER NOT NULL REFERENCES RegBCurriculum (CurriculumID),
  SubjectTypeID     INTEGER NOT NULL REFERENCES RegBSubjectType (SubjectTypeID),
  SubjectGroupID    INTEGER NOT NULL REFERENCES RegBSubjectGroup (SubjectGroupID),
  Credits           REAL,
  SubjectHours      INTEGER
);

-- GradePoint is NULL for grades that do not count in an average (ร, มส,
-- ผ, มผ). GradeID 0 is "no grade": ReGradeID and SGradeID point to it
-- when there was no re-grade, so the re-grade statement's inner joins hold.
CREATE TABLE RegBGrade (
  GradeID    INTEGER PRIMARY KEY,
  GradeName  TEXT NOT NULL,
  GradePoint REAL
);

-- One row per subject a student took in a term. ReGradeID is the grade of a
-- re-examination, SGradeID the grade that settled an ร or มส; 0 when none.
CREATE TABLE RegTTranscript (
  PersonID     INTEGER NOT NULL REFERENCES ComMPerson (PersonID),
  AcademicYear INTEGER NOT NULL,
  TermID       INTEGER NOT NULL REFERENCES RegBTerm (TermID),
  SubjectID    INTEGER NOT NULL REFERENCES RegMSubject (SubjectID),
  GradeID      INTEGER NOT NULL REFERENCES RegBGrade (GradeID),
  ReGradeID    INTEGER NOT NULL DEFAULT 0 REFERENCES RegBGrade (GradeID),
  SGradeID     INTEGER NOT NULL DEFAULT 0 REFERENCES RegBGrade (GradeID),
  PRIMARY KEY (PersonID, AcademicYear, TermID, SubjectID)
) WITHOUT ROWID;
-- Covers the re-grade look-up by student and subject.
CREATE INDEX RegTTranscript_Subject ON RegTTranscript (PersonID, SubjectID, ReGradeID, SGradeID);

-- Full marks of a subject's four score parts in one term.
CREATE TABLE RegMScoreItem (
  SubjectID    INTEGER NOT NULL REFERENCES RegMSubject (SubjectID),
  AcademicYear INTEGER NOT NULL,
  TermID       INTEGER NOT NULL,
  FullSB       REAL NOT NULL,
  FullSM       REAL NOT NULL,
  FullSA       REAL NOT NULL,
  FullSF       REAL NOT NULL,
  PRIMARY KEY (SubjectID, AcademicYear, TermID)
) WITHOUT ROWID;

-- A student's marks in the four parts of a transcript entry; a part not yet
-- marked is NULL. Activities have no marks at all.
CREATE TABLE RegTScore (
  PersonID     INTEGER NOT NULL,
  AcademicYear INTEGER NOT NULL,
  TermID       INTEGER NOT NULL,
  SubjectID    INTEGER NOT NULL,
  ScoreSB      REAL,
  ScoreSM      REAL,
  ScoreSA      REAL,
  ScoreSF      REAL,
  PRIMARY KEY (PersonID, AcademicYear, TermID, SubjectID)
) WITHOUT ROWID;

-- A transcript entry with the grade that counts (re-grade first, then the
-- settling grade, else the original) and its subject's weight and group.
CREATE VIEW VRegTranscriptGrade AS
SELECT t.PersonID, t.AcademicYear, t.TermID, t.SubjectID,
       s.CurriculumID, s.SubjectGroupID, s.Credits, g.GradePoint
FROM RegTTranscript AS t
     INNER JOIN RegMSubject AS s ON s.SubjectID = t.SubjectID
     INNER JOIN RegBGrade AS g ON g.GradeID = CASE WHEN t.ReGradeID <> 0 THEN t.ReGradeID
                                                  WHEN t.SGradeID <> 0 THEN t.SGradeID
                                                  ELSE t.GradeID END;

-- Cumulative averages per curriculum: grade points weighted by credits over
-- the graded subjects of each group; NULL where a group has none.
CREATE VIEW VRegGPASubjectGroup AS
SELECT CurriculumID, PersonID,
       ROUND(SUM(CASE WHEN SubjectGroupID = 1 THEN GradePoint * Credits END)
             / SUM(CASE WHEN SubjectGroupID = 1 AND GradePoint IS NOT NULL THEN Credits END), 2) AS ThaiGPA,
       ROUND(SUM(CASE WHEN SubjectGroupID = 2 THEN GradePoint * Credits END)
             / SUM(CASE WHEN SubjectGroupID = 2 AND GradePoint IS NOT NULL THEN Credits END), 2) AS MathGPA,
       ROUND(SUM(CASE WHEN SubjectGroupID = 3 THEN GradePoint * Credits END)
             / SUM(CASE WHEN SubjectGroupID = 3 AND GradePoint IS NOT NULL THEN Credits END), 2) AS ScienceGPA,
       ROUND(SUM(CASE WHEN SubjectGroupID = 4 THEN GradePoint * Credits END)
             / SUM(CASE WHEN SubjectGroupID = 4 AND GradePoint IS NOT NULL THEN Credits END), 2) AS SocialGPA,
       ROUND(SUM(CASE WHEN SubjectGroupID = 5 THEN GradePoint * Credits END)
             / SUM(CASE WHEN SubjectGroupID = 5 AND GradePoint IS NOT NULL THEN Credits END), 2) AS HealthGPA,
       ROUND(SUM(CASE WHEN SubjectGroupID = 6 THEN GradePoint * Credits END)
             / SUM(CASE WHEN SubjectGroupID = 6 AND GradePoint IS NOT NULL THEN Credits END), 2) AS ArtGPA,
       ROUND(SUM(CASE WHEN SubjectGroupID = 7 THEN GradePoint * Credits END)
             / SUM(CASE WHEN SubjectGroupID = 7 AND GradePoint IS NOT NULL THEN Credits END), 2) AS JobGPA,
       ROUND(SUM(CASE WHEN SubjectGroupID = 8 THEN GradePoint * Credits END)
             / SUM(CASE WHEN SubjectGroupID = 8 AND GradePoint IS NOT NULL THEN Credits END), 2) AS EngGPA,
       ROUND(SUM(GradePoint * Credits)
             / SUM(CASE WHEN GradePoint IS NOT NULL THEN Credits END), 2) AS GPA
FROM VRegTranscriptGrade
GROUP BY CurriculumID, PersonID;

-- One row per transcript entry, with the entry's curriculum and term name;
-- the export groups it into the student's terms.
CREATE VIEW VRegPP1 AS
SELECT s.CurriculumID, t.PersonID, t.AcademicYear, t.TermID, m.TermName, t.SubjectID, t.GradeID
FROM RegTTranscript AS t
     INNER JOIN RegMSubject AS s ON s.SubjectID = t.SubjectID
     INNER JOIN RegBTerm AS m ON m.TermID = t.TermID;

-- A student's average in one term, and the credits it is taken over.
CREATE VIEW VRegGPATerm AS
SELECT PersonID, AcademicYear, TermID,
       TOTAL(CASE WHEN GradePoint IS NOT NULL THEN Credits END) AS CreditAll,
       ROUND(SUM(GradePoint * Credits)
             / SUM(CASE WHEN GradePoint IS NOT NULL THEN Credits END), 2) AS GPA
FROM VRegTranscriptGrade
GROUP BY PersonID, AcademicYear, TermID;

-- Every transcript entry with its original grade, the student's marks and
-- the subject's full marks; marks are NULL where none were given.
CREATE VIEW VRegScore AS
SELECT t.PersonID, t.AcademicYear, t.TermID, t.SubjectID, g.GradeName,
       c.ScoreSB AS SumSB, c.ScoreSM AS SumSM, c.ScoreSA AS SumSA, c.ScoreSF AS SumSF,
       f.FullSB AS SumFSB, f.FullSM AS SumFSM, f.FullSA AS SumFSA, f.FullSF AS SumFSF
FROM RegTTranscript AS t
     INNER JOIN RegBGrade AS g ON g.GradeID = t.GradeID
     LEFT JOIN RegTScore AS c ON c.PersonID = t.PersonID AND c.AcademicYear = t.AcademicYear
                              AND c.TermID = t.TermID AND c.SubjectID = t.SubjectID
     LEFT JOIN RegMScoreItem AS f ON f.SubjectID = t.SubjectID AND f.AcademicYear = t.AcademicYear
                                  AND f.TermID = t.TermID;
