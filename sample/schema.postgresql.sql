-- The sample school's tables and views on PostgreSQL, for reading the same
-- school through the ODBC provider. Column for column the same as
-- schema.sql; the views give the same values as SQLite's:
--   * "+" joins two texts, as SQL Server's does (NULL with anything is NULL);
--   * a division by a zero credit sum is NULL, as in SQLite, not an error;
--   * averages are rounded as decimals and read back as double precision
--     (SQLite's ROUND gives a REAL);
--   * TOTAL is a SUM that gives 0 over no rows.
-- Names are unquoted, so they fold to lower case; the export's statements
-- fold the same way and its column look-up ignores case.

CREATE OPERATOR + (LEFTARG = text, RIGHTARG = text, FUNCTION = textcat);

CREATE TABLE ComBTambon (
  TambonID   integer PRIMARY KEY,
  TambonName text NOT NULL
);

CREATE TABLE ComMSchool (
  SchoolCode  text PRIMARY KEY,
  SchooPrefix text,
  SchoolName  text,
  TambonID    integer REFERENCES ComBTambon (TambonID),
  Term1Date   date,
  Term2Date   date
);

CREATE TABLE ComBPrefix (
  PrefixID   integer PRIMARY KEY,
  PrefixName text NOT NULL
);

CREATE TABLE ComMPerson (
  PersonID   integer PRIMARY KEY,
  PersonCode text NOT NULL UNIQUE,
  PrefixID   integer NOT NULL REFERENCES ComBPrefix (PrefixID),
  FirstName  text NOT NULL,
  LastName   text NOT NULL,
  BirthDate  date
);

CREATE TABLE RegBCurriculum (
  CurriculumID   integer PRIMARY KEY,
  CurriculumName text NOT NULL
);

CREATE TABLE RegBClass (
  ClassID      integer PRIMARY KEY,
  ClassName    text NOT NULL,
  LevelNo      integer NOT NULL,
  CurriculumID integer NOT NULL REFERENCES RegBCurriculum (CurriculumID)
);

CREATE TABLE RegTClassRoom (
  AcademicYear integer NOT NULL,
  ClassID      integer NOT NULL REFERENCES RegBClass (ClassID),
  PersonID     integer NOT NULL REFERENCES ComMPerson (PersonID),
  StudentNo    integer NOT NULL
);
CREATE INDEX RegTClassRoom_Year ON RegTClassRoom (AcademicYear, ClassID, StudentNo);
CREATE INDEX RegTClassRoom_Person ON RegTClassRoom (PersonID, AcademicYear);

CREATE TABLE RegBTerm (
  TermID   integer PRIMARY KEY,
  TermName text NOT NULL
);

CREATE TABLE RegBSubjectGroup (
  SubjectGroupID   integer PRIMARY KEY,
  SubjectGroupName text NOT NULL
);

CREATE TABLE RegBSubjectType (
  SubjectTypeID   integer PRIMARY KEY,
  SubjectTypeName text NOT NULL
);

CREATE TABLE RegMSubject (
  SubjectID         integer PRIMARY KEY,
  ReportSubjectCode text,
  SubjectName       text NOT NULL,
  CurriculumID      integer NOT NULL REFERENCES RegBCurriculum (CurriculumID),
  SubjectTypeID     integer NOT NULL REFERENCES RegBSubjectType (SubjectTypeID),
  SubjectGroupID    integer NOT NULL REFERENCES RegBSubjectGroup (SubjectGroupID),
  Credits           double precision,
  SubjectHours      integer
);

CREATE TABLE RegBGrade (
  GradeID    integer PRIMARY KEY,
  GradeName  text NOT NULL,
  GradePoint double precision
);

CREATE TABLE RegTTranscript (
  PersonID     integer NOT NULL REFERENCES ComMPerson (PersonID),
  AcademicYear integer NOT NULL,
  TermID       integer NOT NULL REFERENCES RegBTerm (TermID),
  SubjectID    integer NOT NULL REFERENCES RegMSubject (SubjectID),
  GradeID      integer NOT NULL REFERENCES RegBGrade (GradeID),
  ReGradeID    integer NOT NULL DEFAULT 0 REFERENCES RegBGrade (GradeID),
  SGradeID     integer NOT NULL DEFAULT 0 REFERENCES RegBGrade (GradeID),
  PRIMARY KEY (PersonID, AcademicYear, TermID, SubjectID)
);
CREATE INDEX RegTTranscript_Subject ON RegTTranscript (PersonID, SubjectID, ReGradeID, SGradeID);

CREATE TABLE RegMScoreItem (
  SubjectID    integer NOT NULL REFERENCES RegMSubject (SubjectID),
  AcademicYear integer NOT NULL,
  TermID       integer NOT NULL,
  FullSB       double precision NOT NULL,
  FullSM       double precision NOT NULL,
  FullSA       double precision NOT NULL,
  FullSF       double precision NOT NULL,
  PRIMARY KEY (SubjectID, AcademicYear, TermID)
);

CREATE TABLE RegTScore (
  PersonID     integer NOT NULL,
  AcademicYear integer NOT NULL,
  TermID       integer NOT NULL,
  SubjectID    integer NOT NULL,
  ScoreSB      double precision,
  ScoreSM      double precision,
  ScoreSA      double precision,
  ScoreSF      double precision,
  PRIMARY KEY (PersonID, AcademicYear, TermID, SubjectID)
);

-- SQLite's ROUND(x, 2) of a REAL, NULL staying NULL.
CREATE FUNCTION round2(x double precision) RETURNS double precision
  LANGUAGE sql IMMUTABLE AS 'SELECT round(x::numeric, 2)::double precision';

CREATE VIEW VRegTranscriptGrade AS
SELECT t.PersonID, t.AcademicYear, t.TermID, t.SubjectID,
       s.CurriculumID, s.SubjectGroupID, s.Credits, g.GradePoint
FROM RegTTranscript AS t
     INNER JOIN RegMSubject AS s ON s.SubjectID = t.SubjectID
     INNER JOIN RegBGrade AS g ON g.GradeID = CASE WHEN t.ReGradeID <> 0 THEN t.ReGradeID
                                                  WHEN t.SGradeID <> 0 THEN t.SGradeID
                                                  ELSE t.GradeID END;

CREATE VIEW VRegGPASubjectGroup AS
SELECT CurriculumID, PersonID,
       round2(SUM(CASE WHEN SubjectGroupID = 1 THEN GradePoint * Credits END)
              / NULLIF(SUM(CASE WHEN SubjectGroupID = 1 AND GradePoint IS NOT NULL THEN Credits END), 0)) AS ThaiGPA,
       round2(SUM(CASE WHEN SubjectGroupID = 2 THEN GradePoint * Credits END)
              / NULLIF(SUM(CASE WHEN SubjectGroupID = 2 AND GradePoint IS NOT NULL THEN Credits END), 0)) AS MathGPA,
       round2(SUM(CASE WHEN SubjectGroupID = 3 THEN GradePoint * Credits END)
              / NULLIF(SUM(CASE WHEN SubjectGroupID = 3 AND GradePoint IS NOT NULL THEN Credits END), 0)) AS ScienceGPA,
       round2(SUM(CASE WHEN SubjectGroupID = 4 THEN GradePoint * Credits END)
              / NULLIF(SUM(CASE WHEN SubjectGroupID = 4 AND GradePoint IS NOT NULL THEN Credits END), 0)) AS SocialGPA,
       round2(SUM(CASE WHEN SubjectGroupID = 5 THEN GradePoint * Credits END)
              / NULLIF(SUM(CASE WHEN SubjectGroupID = 5 AND GradePoint IS NOT NULL THEN Credits END), 0)) AS HealthGPA,
       round2(SUM(CASE WHEN SubjectGroupID = 6 THEN GradePoint * Credits END)
              / NULLIF(SUM(CASE WHEN SubjectGroupID = 6 AND GradePoint IS NOT NULL THEN Credits END), 0)) AS ArtGPA,
       round2(SUM(CASE WHEN SubjectGroupID = 7 THEN GradePoint * Credits END)
              / NULLIF(SUM(CASE WHEN SubjectGroupID = 7 AND GradePoint IS NOT NULL THEN Credits END), 0)) AS JobGPA,
       round2(SUM(CASE WHEN SubjectGroupID = 8 THEN GradePoint * Credits END)
              / NULLIF(SUM(CASE WHEN SubjectGroupID = 8 AND GradePoint IS NOT NULL THEN Credits END), 0)) AS EngGPA,
       round2(SUM(GradePoint * Credits)
              / NULLIF(SUM(CASE WHEN GradePoint IS NOT NULL THEN Credits END), 0)) AS GPA
FROM VRegTranscriptGrade
GROUP BY CurriculumID, PersonID;

CREATE VIEW VRegPP1 AS
SELECT s.CurriculumID, t.PersonID, t.AcademicYear, t.TermID, m.TermName, t.SubjectID, t.GradeID
FROM RegTTranscript AS t
     INNER JOIN RegMSubject AS s ON s.SubjectID = t.SubjectID
     INNER JOIN RegBTerm AS m ON m.TermID = t.TermID;

CREATE VIEW VRegGPATerm AS
SELECT PersonID, AcademicYear, TermID,
       COALESCE(SUM(CASE WHEN GradePoint IS NOT NULL THEN Credits END), 0.0) AS CreditAll,
       round2(SUM(GradePoint * Credits)
              / NULLIF(SUM(CASE WHEN GradePoint IS NOT NULL THEN Credits END), 0)) AS GPA
FROM VRegTranscriptGrade
GROUP BY PersonID, AcademicYear, TermID;

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
