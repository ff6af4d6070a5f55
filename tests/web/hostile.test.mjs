// A school database full of hostile data, exported by marksend-export and
// looked up through the grade viewer: markup, control characters, very long
// texts, NULL in every nullable column and characters outside code page 874.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { SCHEMA, YEAR, exportSite, sqlValue, tempFolder } from './support/fixture.mjs';
import { parseTables, rowSignature } from './support/html.mjs';
import { lookUp, startPhpServer } from './support/servers.mjs';

const MARKUP = `<script>alert("x")</script> & 'q' ]]>`;
const CONTROL = '\u0001\u001f';
const WIDE = '😀é中'; // none of them is in code page 874
const LONG = '<&>é'.repeat(2500); // 10,000 characters
const hostile = (tag) => `${tag}${MARKUP}${CONTROL}${WIDE}`;
// What a document can carry of a value: XML 1.0 has no place for C0 controls.
const carried = (text) => text.replace(/[\u0000-\u0008\u000b\u000c\u000e-\u001f]/g, '');

// Student 1 has a hostile text in every text column and a 10,000-character
// one in several; student 2 has NULL in every nullable column.
const P1 = { code: hostile('c'), prefix: hostile('p'), first: hostile('f'), last: LONG, klass: `</table><tr><td>${WIDE}` };
const P2_DATE = '30/12/2442'; // a NULL birth date reads as 30 December 1899
const gpas = (text) => Array.from({ length: 9 }, (_, i) => `${text}${i}`);
const row = (table, values) => `INSERT INTO ${table} VALUES (${values.map(sqlValue).join(', ')});\n`;
const SQL = SCHEMA +
  row('ComBPrefix', [1, P1.prefix]) + row('ComBPrefix', [2, null]) +
  row('ComMPerson', [1, P1.code, 1, P1.first, P1.last, '2008-03-05']) +
  row('ComMPerson', [2, null, 2, null, null, null]) +
  row('RegBClass', [1, P1.klass, 2]) + row('RegBClass', [2, null, 2]) +
  row('RegTClassRoom', [1, 1, Number(YEAR)]) + row('RegTClassRoom', [2, 2, Number(YEAR)]) +
  row('RegBGrade', [1, hostile('r')]) +
  row('RegTTranscript', [1, 1, Number(YEAR), 1, 0]) + row('RegTTranscript', [1, 2, Number(YEAR), null, null]) +
  row('RegTTranscript', [2, 2, Number(YEAR), null, null]) +
  row('RegMSubject', [1, hostile('s'), hostile('n') + LONG, 1.5, 40, 2, 1, 1]) +
  row('RegMSubject', [2, null, null, null, null, null, null, null]) +
  row('VRegGPASubjectGroup', [2, 1, ...gpas(hostile('g'))]) +
  row('VRegGPASubjectGroup', [2, 2, ...gpas('').map(() => null)]) +
  row('VRegPP1', [2, 1, Number(YEAR), 1, hostile('t') + LONG]) + row('VRegPP1', [2, 2, Number(YEAR), 2, null]) +
  row('VRegGPATerm', [1, Number(YEAR), 1, null, hostile('a')]) + row('VRegGPATerm', [2, Number(YEAR), 2, null, null]) +
  row('VRegScore', [1, Number(YEAR), 1, 1, hostile('x'), 1, 2, 3, 4, 10, 10, 10, 10]) +
  row('VRegScore', [1, Number(YEAR), 1, 2, null, null, null, null, null, null, null, null, null]) +
  row('VRegScore', [2, Number(YEAR), 2, 2, null, null, null, null, null, null, null, null, null]);

let site;
let server;
before(async () => {
  site = tempFolder('marksend-hostile-');
  exportSite(site.folder, SQL); // throws unless marksend-export exits 0
  server = await startPhpServer(site.folder);
});
after(async () => {
  await server?.stop();
  site?.remove();
});

test('both documents are well-formed XML and keep the wide characters', () => {
  for (const name of ['tev10xml.xml', 'subjectxml.xml']) {
    const lint = spawnSync('xmllint', ['--noout', join(site.folder, name)], { encoding: 'utf8' });
    assert.ok(!lint.error, `xmllint is missing (Debian package libxml2-utils): ${lint.error}`);
    assert.equal(lint.status, 0, `${name}: ${lint.stderr.slice(0, 2000)}`);
  }
  const results = readFileSync(join(site.folder, 'tev10xml.xml'), 'utf8');
  assert.ok(results.includes(`<Co>c&lt;script&gt;alert("x")&lt;/script&gt; &amp; 'q' ]]&gt;${WIDE}</Co>`));
  assert.doesNotMatch(results, /[\u0001\u001f]/);
});

// The students' look-ups and the rows of their results table: 4 heading
// rows, per term 3 rows and one per listed subject, the closing row.
const students = [
  { name: 'hostile texts', ID: carried(P1.code), BDate: '05/03/2551', rows: 4 + 3 + 2 + 1,
    heading: `เลขประจำตัวนักเรียน: ${carried(P1.code)} ชื่อ: ${carried(P1.prefix + P1.first)}   ${LONG}`,
    klass: `ระดับชั้น: ${carried(P1.klass)}` },
  { name: 'NULL everywhere', ID: '', BDate: P2_DATE, rows: 4 + 3 + 1 + 1,
    heading: 'เลขประจำตัวนักเรียน:  ชื่อ: ', klass: 'ระดับชั้น: ' },
];
for (const s of students) {
  test(`a look-up of the student with ${s.name}: the data stays text`, async () => {
    const res = await lookUp(server.url, '', { ID: s.ID, BDate: s.BDate });
    assert.equal(res.status, 200);
    assert.doesNotMatch(res.text, /\b(Warning|Notice|Deprecated|Fatal error)\b/);
    assert.doesNotMatch(res.text, /<script/i);
    assert.doesNotMatch(res.text, /<\/?(b|i|td)>[^<]*?(😀|é中)/, 'no markup from the data became a tag');
    // Only the page's own tables and rows: one results table with the summary inside.
    assert.equal(res.text.match(/<table\b/gi).length, 2);
    assert.equal(res.text.match(/<tr\b/gi).length, s.rows + 2);
    const tables = parseTables(res.text);
    assert.equal(tables.length, 1);
    assert.equal(tables[0].rows.length, s.rows);
    assert.deepEqual(rowSignature(tables[0].rows[1]), [`th*9:${s.heading}`]);
    assert.deepEqual(rowSignature(tables[0].rows[2]), [`th*9:${s.klass}`]);
    if (s.ID !== '') assert.ok(res.text.includes('&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; &#039;q&#039; ]]&gt;'));
  });
}

test('the hostile student\'s subject rows and summary are cells of text', async () => {
  const res = await lookUp(server.url, '', { ID: carried(P1.code), BDate: '05/03/2551' });
  const [table] = parseTables(res.text);
  // The subject with NULL type and group sorts first.
  const [empty, ...subjects] = table.rows.filter((r) => r.cells.length === 9).map(rowSignature);
  assert.equal(subjects.length, 1);
  assert.deepEqual(empty.slice(0, 3), ['td:', 'td:', 'td:']);
  // Names and grades pass through code page 874: the wide characters become "?".
  assert.equal(subjects[0][0], `td:${carried(hostile('s'))}`);
  // The catalogue's cleaning: the first "&" and "/" become words, everything below "0" goes.
  assert.equal(subjects[0][1], `td:n<script>alertx<หรือscript>และq]]>???${'<>?'.repeat(2500)}`);
  assert.equal(subjects[0][8], `td:${carried(hostile('r')).replace(WIDE, '???')}`);
  const [summary] = table.rows[3].cells[0].tables;
  assert.deepEqual(summary.rows[1].cells.slice(1).map((c) => c.text), gpas(carried(hostile('g'))));
});
