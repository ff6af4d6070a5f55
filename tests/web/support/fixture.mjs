// The fixture site: a small school's database, exported by the real
// marksend-export into a folder (two documents, two pages, the server rules).
// The students below say both what goes into the database and what the
// documents must then hold, so the pages' expectations follow from them.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { BIN_DIR } from './paths.mjs';

const dash = { B: '-', M: '-', A: '-', F: '-', T: '-' };
export const YEAR = '2566';

// The exported catalogue. 999 (used below) is in the subject table but taken
// by nobody this year, so the catalogue leaves it out.
export const SUBJECTS = [
  { I: '101', C: 'ท21101', N: 'ภาษาไทย1', R: '1.5' },
  { I: '102', C: 'ค21101', N: 'คณิตศาสตร์1', R: '1' },
  { I: '103', C: 'ว21101', N: '<b>วิทยาศาสตร์1', R: '2' },
  { I: '201', C: 'พ21101', N: 'สุขศึกษา', R: '40' },
];
const UNLISTED = { I: '999', C: 'ง29999', N: 'ไม่อยู่ในรายการ', R: '1' };
// The catalogue statement lists each subject once; a catalogue with 102 twice
// can only be made by hand (see withDoubleListing).
export const DOUBLE = { I: '102', C: 'ค21201', N: 'คณิตศาสตร์เพิ่มเติม1', R: '0.5' };
export const SUBJECTS_WITH_DOUBLE = [SUBJECTS[0], SUBJECTS[1], DOUBLE, ...SUBJECTS.slice(2)];

const averages = (values) =>
  Object.fromEntries(['Th', 'Ma', 'Sc', 'So', 'He', 'Ar', 'Jo', 'En', 'GP'].map((k, i) => [k, values[i]]));
// The export names a student prefix + first name + three spaces + last name.
const person = (Co, Pf, Fn, Ln, BD, CR) => ({ Co, Pf, Fn, Ln, Na: `${Pf}${Fn}   ${Ln}`, BD, CR });

// Students in document order. FOUND has two terms, the second of term 0 (empty
// Tm); TWINS share code and date; HOSTILE carries markup and no terms.
export const DECOY = {
  ...person('4501', 'นาย', 'สมศักดิ์', 'ผิดวัน', '05/03/2552', 'ม.1/2'),
  ...averages(['1', '1', '1', '1', '1', '1', '1', '1', '1']),
  terms: [{ Yr: '2566', Tm: '1', GA: '1', Ss: [{ C: '101', G: '1', B: '1/20', M: '1/20', A: '1/10', F: '1/50', T: '4/100' }] }],
};
export const FOUND = {
  ...person('4501', 'นาย', 'สมชาย', 'ใจดี', '05/03/2551', 'ม.1/1'),
  ...averages(['3.5', '2.75', '4', '3', '3.25', '2.5', '3.8', '1.5', '3.12']),
  // Terms come out by year and term: last year's term 1, this year's term 0.
  terms: [
    {
      Yr: '2565', Tm: '1', GA: '3.2',
      Ss: [
        { C: '101', G: '3.5', B: '12.3/20', M: '13/20', A: '8/10', F: '30/50', T: '63/100' },
        { C: '102', G: '4', B: '18/20', M: '19/20', A: '9/10', F: '45/50', T: '91/100' },
        { C: '999', G: '2', B: '10/20', M: '10/20', A: '5/10', F: '25/50', T: '50/100' },
        { C: '103', G: 'ผ', ...dash },
      ],
    },
    { Yr: '2566', Tm: '', GA: '', Ss: [{ C: '201', G: 'มผ', ...dash }] },
  ],
};
export const TWINS = [
  {
    ...person('4600', 'นางสาว', 'มานี', 'มีนา', '01/01/2550', 'ม.2/1'),
    ...averages(['2', '2', '2', '2', '2', '2', '2', '2', '2']),
    terms: [{ Yr: '2565', Tm: '2', GA: '2', Ss: [{ C: '101', G: '2', B: '10/20', M: '10/20', A: '5/10', F: '25/50', T: '50/100' }] }],
  },
  {
    ...person('4600', 'นาย', 'มานะ', 'มีนา', '01/01/2550', 'ม.2/2'),
    ...averages(['3', '3', '3', '3', '3', '3', '3', '3', '3']),
    terms: [{ Yr: '2565', Tm: '2', GA: '3', Ss: [{ C: '102', G: '3', B: '15/20', M: '15/20', A: '7/10', F: '35/50', T: '72/100' }] }],
  },
];
export const HOSTILE = {
  ...person('4700', '', '<script>alert("x")</script>', "& O'Neil", '10/10/2550', 'ม.3/<1>'),
  ...averages(['4', '4', '4', '4', '4', '4', '4', '4', '4']),
  terms: [],
};
export const STUDENTS = [DECOY, FOUND, ...TWINS, HOSTILE];

// SQLite literals; control characters go through char() so the shell never
// sees them raw.
export function sqlValue(v) {
  if (v === null || v === undefined) return 'NULL';
  if (typeof v === 'number') return String(v);
  const parts = [];
  let run = '';
  for (const ch of v) {
    if (ch.codePointAt(0) < 0x20) {
      parts.push(`'${run.replace(/'/g, "''")}'`, `char(${ch.codePointAt(0)})`);
      run = '';
    } else {
      run += ch;
    }
  }
  parts.push(`'${run.replace(/'/g, "''")}'`);
  return parts.join(' || ');
}
const rows = (table, list) =>
  list.length === 0 ? '' : `INSERT INTO ${table} VALUES\n  ${list.map((r) => `(${r.map(sqlValue).join(', ')})`).join(',\n  ')};\n`;

// The tables the export reads, its four views as plain tables. Keys are NOT
// NULL: the export splices them into later statements.
export const SCHEMA = `
CREATE TABLE ComBPrefix (PrefixID INTEGER NOT NULL, PrefixName TEXT);
CREATE TABLE ComMPerson (PersonID INTEGER NOT NULL, PersonCode TEXT, PrefixID INTEGER NOT NULL, FirstName TEXT,
                         LastName TEXT, BirthDate DATE);
CREATE TABLE RegBClass (ClassID INTEGER NOT NULL, ClassName TEXT, CurriculumID INTEGER NOT NULL);
CREATE TABLE RegTClassRoom (PersonID INTEGER NOT NULL, ClassID INTEGER NOT NULL, AcademicYear INTEGER NOT NULL);
CREATE TABLE RegBGrade (GradeID INTEGER NOT NULL, GradeName TEXT);
CREATE TABLE RegTTranscript (PersonID INTEGER NOT NULL, SubjectID INTEGER NOT NULL, AcademicYear INTEGER NOT NULL,
                             ReGradeID INTEGER, SGradeID INTEGER);
CREATE TABLE RegMSubject (SubjectID INTEGER NOT NULL, ReportSubjectCode TEXT, SubjectName TEXT, Credits REAL,
                          SubjectHours INTEGER, CurriculumID INTEGER, SubjectTypeID INTEGER, SubjectGroupID INTEGER);
CREATE TABLE VRegGPASubjectGroup (CurriculumID INTEGER NOT NULL, PersonID INTEGER NOT NULL, ThaiGPA, MathGPA,
                                  ScienceGPA, SocialGPA, HealthGPA, ArtGPA, JobGPA, EngGPA, GPA);
CREATE TABLE VRegPP1 (CurriculumID INTEGER NOT NULL, PersonID INTEGER NOT NULL, AcademicYear INTEGER NOT NULL,
                      TermID INTEGER NOT NULL, TermName TEXT);
CREATE TABLE VRegGPATerm (PersonID INTEGER NOT NULL, AcademicYear INTEGER NOT NULL, TermID INTEGER NOT NULL,
                          CreditAll REAL, GPA);
CREATE TABLE VRegScore (PersonID INTEGER NOT NULL, AcademicYear INTEGER NOT NULL, TermID INTEGER NOT NULL,
                        SubjectID INTEGER NOT NULL, GradeName TEXT, SumSB REAL, SumSM REAL, SumSA REAL,
                        SumSF REAL, SumFSB REAL, SumFSM REAL, SumFSA REAL, SumFSF REAL);
INSERT INTO RegBGrade VALUES (0, '-');
`;

// "dd/MM/yyyy" in the Buddhist era, as the documents show it, to the stored date.
const isoDate = (bd) => {
  const [d, m, y] = bd.split('/');
  return `${Number(y) - 543}-${m}-${d}`;
};
// "got/full" as a score's two sums; "-" is a result without full marks.
const sums = (text) => (text === '-' ? [0, 0] : text.split('/').map(Number));

// The school database behind students: everyone in a class of this year in
// curriculum 2 (so a subject's amount is its credits), everything taken this
// year except the unlisted subject.
export function schoolSql(students = STUDENTS) {
  const subjects = [SUBJECTS[0], SUBJECTS[1], UNLISTED, SUBJECTS[2], SUBJECTS[3]];
  const prefixes = [...new Set(students.map((s) => s.Pf))];
  const t = { prefix: [], person: [], klass: [], room: [], transcript: [], groups: [], pp1: [], termGpa: [], score: [] };
  students.forEach((s, i) => {
    const id = i + 1;
    t.person.push([id, s.Co, prefixes.indexOf(s.Pf) + 1, s.Fn, s.Ln, isoDate(s.BD)]);
    t.klass.push([id, s.CR, 2]);
    t.room.push([id, id, Number(YEAR)]);
    t.groups.push([2, id, s.Th, s.Ma, s.Sc, s.So, s.He, s.Ar, s.Jo, s.En, s.GP]);
    for (const term of s.terms) {
      const termId = term.Tm === '' ? 0 : Number(term.Tm);
      t.pp1.push([2, id, Number(term.Yr), termId, term.Tm === '' ? 'ตลอดปี' : term.Tm]);
      if (term.GA !== '') t.termGpa.push([id, Number(term.Yr), termId, 10, term.GA]);
      for (const r of term.Ss) {
        const [b, fb] = sums(r.B); const [m, fm] = sums(r.M); const [a, fa] = sums(r.A); const [f, ff] = sums(r.F);
        t.score.push([id, Number(term.Yr), termId, Number(r.C), r.G, b, m, a, f, fb, fm, fa, ff]);
        if (r.C !== UNLISTED.I) t.transcript.push([id, Number(r.C), Number(YEAR), 0, 0]);
      }
    }
  });
  prefixes.forEach((p, i) => t.prefix.push([i + 1, p]));
  const subjectRows = subjects.map((s, i) => [Number(s.I), s.C, s.N, Number(s.R), null, 2, 1, i + 1]);
  return SCHEMA + rows('ComBPrefix', t.prefix) + rows('ComMPerson', t.person) + rows('RegBClass', t.klass) +
    rows('RegTClassRoom', t.room) + rows('RegTTranscript', t.transcript) + rows('RegMSubject', subjectRows) +
    rows('VRegGPASubjectGroup', t.groups) + rows('VRegPP1', t.pp1) + rows('VRegGPATerm', t.termGpa) +
    rows('VRegScore', t.score);
}

// Makes the database from sql with the sqlite3 shell and exports it into
// folder with the built marksend-export, as a school would. Throws with the
// tool's output when it does not finish cleanly.
export function exportSite(folder, sql = schoolSql()) {
  const work = mkdtempSync(join(tmpdir(), 'marksend-school-'));
  try {
    const db = spawnSync('sqlite3', ['-bail', join(work, 'school.db')], { input: sql, encoding: 'utf8' });
    if (db.error || db.status !== 0) throw new Error(`sqlite3 failed (Debian package sqlite3): ${db.error ?? db.stderr}`);
    writeFileSync(join(work, 'Config.ini'), '[Database]\r\nProvider=MSAccess\r\n[MSAccess]\r\nDatabase File=school.db\r\n');
    const run = spawnSync(join(BIN_DIR, 'marksend-export'), ['--out', folder, '--year', YEAR],
      { cwd: work, encoding: 'utf8' });
    if (run.error || run.status !== 0) {
      throw new Error(`marksend-export exited ${run.status}: ${run.error ?? ''}${run.stderr}`);
    }
  } finally {
    rmSync(work, { recursive: true, force: true });
  }
}

// The whole site of the fixture school in folder.
export function writeSite(folder) {
  exportSite(folder);
}

const xml = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
export const catalogueLine = (s) => `<Sub><I>${s.I}</I><C>${xml(s.C)}</C><N>${xml(s.N)}</N><R>${s.R}</R></Sub>`;

// The lines of an exported document (without BOM and CR LF).
export function documentLines(folder, name) {
  return readFileSync(join(folder, name), 'utf8').replace(/^\uFEFF/, '').replace(/\r\n$/, '').split('\r\n');
}

// The form of every file the program writes: BOM, CR LF after every line.
export function programForm(lines) {
  return Buffer.from('\uFEFF' + lines.map((l) => l + '\r\n').join(''), 'utf8');
}

// Hand-edits the exported catalogue in folder to list DOUBLE right after the
// subject it shares its id with.
export function withDoubleListing(folder) {
  const lines = documentLines(folder, 'subjectxml.xml');
  const at = lines.indexOf(catalogueLine(SUBJECTS[1]));
  if (at < 0) throw new Error('the exported catalogue lacks subject 102');
  lines.splice(at + 1, 0, catalogueLine(DOUBLE));
  writeFileSync(join(folder, 'subjectxml.xml'), programForm(lines));
}

// A fresh temporary folder, removed by the returned function.
export function tempFolder(prefix) {
  const folder = mkdtempSync(join(tmpdir(), prefix));
  return { folder, remove: () => rmSync(folder, { recursive: true, force: true }) };
}
