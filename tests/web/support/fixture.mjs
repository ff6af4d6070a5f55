// The fixture site: a small school's students and subjects, written as the
// export writes its folder (two documents, two pages, the server rules).
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { SOURCE_DIR } from './paths.mjs';

const dash = { B: '-', M: '-', A: '-', F: '-', T: '-' };

// The catalogue: 102 is listed twice, 999 (used below) not at all.
export const SUBJECTS = [
  { I: '101', C: 'ท21101', N: 'ภาษาไทย1', R: '1.5' },
  { I: '102', C: 'ค21101', N: 'คณิตศาสตร์1', R: '1' },
  { I: '102', C: 'ค21201', N: 'คณิตศาสตร์เพิ่มเติม1', R: '0.5' },
  { I: '103', C: 'ว21101', N: '<b>วิทยาศาสตร์1', R: '2' },
  { I: '201', C: 'พ21101', N: 'สุขศึกษา', R: '40' },
];

const averages = (values) =>
  Object.fromEntries(['Th', 'Ma', 'Sc', 'So', 'He', 'Ar', 'Jo', 'En', 'GP'].map((k, i) => [k, values[i]]));

// Students in document order. FOUND has two terms, the second of term 0 (empty
// Tm); TWINS share code and date; HOSTILE carries markup and no terms.
export const DECOY = {
  Co: '4501', Na: 'นายสมศักดิ์   ผิดวัน', BD: '05/03/2552', CR: 'ม.1/2',
  ...averages(['1', '1', '1', '1', '1', '1', '1', '1', '1']),
  terms: [{ Yr: '2566', Tm: '1', GA: '1', Ss: [{ C: '101', G: '1', B: '1/20', M: '1/20', A: '1/10', F: '1/50', T: '4/100' }] }],
};
export const FOUND = {
  Co: '4501', Na: 'นายสมชาย   ใจดี', BD: '05/03/2551', CR: 'ม.1/1',
  ...averages(['3.5', '2.75', '4', '3', '3.25', '2.5', '3.8', '1.5', '3.12']),
  terms: [
    {
      Yr: '2566', Tm: '1', GA: '3.2',
      Ss: [
        { C: '101', G: '3.5', B: '12.3/20', M: '13/20', A: '8/10', F: '30/50', T: '63/100' },
        { C: '102', G: '4', B: '18/20', M: '19/20', A: '9.5/10', F: '45/50', T: '92/100' },
        { C: '999', G: '2', B: '10/20', M: '10/20', A: '5/10', F: '25/50', T: '50/100' },
        { C: '103', G: 'ผ', ...dash },
      ],
    },
    { Yr: '2566', Tm: '', GA: '', Ss: [{ C: '201', G: 'มผ', ...dash }] },
  ],
};
export const TWINS = [
  {
    Co: '4600', Na: 'นางสาวมานี   มีนา', BD: '01/01/2550', CR: 'ม.2/1',
    ...averages(['2', '2', '2', '2', '2', '2', '2', '2', '2']),
    terms: [{ Yr: '2565', Tm: '2', GA: '2', Ss: [{ C: '101', G: '2', B: '10/20', M: '10/20', A: '5/10', F: '25/50', T: '50/100' }] }],
  },
  {
    Co: '4600', Na: 'นายมานะ   มีนา', BD: '01/01/2550', CR: 'ม.2/2',
    ...averages(['3', '3', '3', '3', '3', '3', '3', '3', '3']),
    terms: [{ Yr: '2565', Tm: '2', GA: '3', Ss: [{ C: '102', G: '3', B: '15/20', M: '15/20', A: '7/10', F: '35/50', T: '72/100' }] }],
  },
];
export const HOSTILE = {
  Co: '4700', Na: `<script>alert("x")</script> & O'Neil`, BD: '10/10/2550', CR: 'ม.3/<1>',
  ...averages(['4', '4', '4', '4', '4', '4', '4', '4', '4']),
  terms: [],
};
export const STUDENTS = [DECOY, FOUND, ...TWINS, HOSTILE];

const xml = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

// The results document, line by line as the export builds it.
export function resultsLines(students = STUDENTS) {
  const lines = ['<?xml version="1.0" encoding="utf-8"?>', '<Stds>'];
  for (const s of students) {
    lines.push(`<Std><Psn><Co>${xml(s.Co)}</Co><Na>${xml(s.Na)}</Na><BD>${xml(s.BD)}</BD><CR>${xml(s.CR)}</CR>`);
    lines.push(`<Th>${s.Th}</Th><Ma>${s.Ma}</Ma><Sc>${s.Sc}</Sc><So>${s.So}</So><He>${s.He}</He>` +
      `<Ar>${s.Ar}</Ar><Jo>${s.Jo}</Jo><En>${s.En}</En><GP>${s.GP}</GP></Psn><Trs>`);
    for (const t of s.terms) {
      lines.push(`<Tr><Se><Yr>${t.Yr}</Yr><Tm>${xml(t.Tm)}</Tm>`);
      lines.push(`<GA>${t.GA}</GA></Se><Ss>`);
      for (const r of t.Ss) {
        lines.push(`<S><C>${r.C}</C><G>${xml(r.G)}</G><B>${r.B}</B><M>${r.M}</M><A>${r.A}</A><F>${r.F}</F><T>${r.T}</T></S>`);
      }
      lines.push('</Ss></Tr>');
    }
    lines.push('</Trs></Std>');
  }
  lines.push('</Stds>');
  return lines;
}

// The subject catalogue, line by line as the export builds it.
export function catalogueLines(subjects = SUBJECTS) {
  return ['<?xml version="1.0" encoding="utf-8"?>', '<Subs>',
    ...subjects.map((s) => `<Sub><I>${s.I}</I><C>${xml(s.C)}</C><N>${xml(s.N)}</N><R>${s.R}</R></Sub>`),
    '</Subs>'];
}

// The form of every file the program writes: BOM, CR LF after every line.
export function programForm(lines) {
  return Buffer.from('\uFEFF' + lines.map((l) => l + '\r\n').join(''), 'utf8');
}

// The server rules go without the byte-order mark: Apache would read it as
// part of the first directive and answer every request in the folder with 500.
export function rulesForm(lines) {
  return Buffer.from(lines.map((l) => l + '\r\n').join(''), 'utf8');
}

export function sourceLines(relativePath) {
  const text = readFileSync(join(SOURCE_DIR, relativePath), 'utf8');
  return text.replace(/\r?\n$/, '').split(/\r?\n/);
}

// Writes the whole site into folder as an export run would. The one place
// that makes the fixture, so it can be swapped for a real export run.
export function writeSite(folder) {
  writeFileSync(join(folder, 'subjectxml.xml'), programForm(catalogueLines()));
  writeFileSync(join(folder, 'tev10xml.xml'), programForm(resultsLines()));
  writeFileSync(join(folder, 'input.php'), programForm(sourceLines('web/input.php')));
  writeFileSync(join(folder, 'gradeviewer.php'), programForm(sourceLines('web/gradeviewer.php')));
  writeFileSync(join(folder, '.htaccess'), rulesForm(sourceLines('web/htaccess')));
}

// A fresh temporary folder, removed by the returned function.
export function tempFolder(prefix) {
  const folder = mkdtempSync(join(tmpdir(), prefix));
  return { folder, remove: () => rmSync(folder, { recursive: true, force: true }) };
}
