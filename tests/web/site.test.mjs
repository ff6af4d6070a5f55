// The grade-lookup site on PHP's built-in server through the demo router:
// look-ups, escaping, failures, and the refusal of the documents.
import assert from 'node:assert/strict';
import { mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  DECOY, FOUND, HOSTILE, SUBJECTS_WITH_DOUBLE, TWINS, documentLines, programForm, tempFolder, withDoubleListing,
  writeSite,
} from './support/fixture.mjs';
import { NOT_FOUND_ROWS, studentRows, summaryRows } from './support/expected.mjs';
import { parseTables, rowSignature } from './support/html.mjs';
import { SOURCE_DIR } from './support/paths.mjs';
import { lookUp, request, startPhpServer } from './support/servers.mjs';

const BOM = Buffer.from([0xef, 0xbb, 0xbf]);
const TAIL = '</div>\r\n</body>\r\n</html>\r\n';

// Sites under the server's root, each a real export: a complete one and one
// per failure. The complete one's catalogue is hand-edited to list subject 102
// twice, which the export itself never writes.
const variants = {
  ok: (dir) => withDoubleListing(dir),
  'no-results': (dir) => rmSync(join(dir, 'tev10xml.xml')),
  none: (dir) => { rmSync(join(dir, 'tev10xml.xml')); rmSync(join(dir, 'subjectxml.xml')); },
  'no-catalogue': (dir) => rmSync(join(dir, 'subjectxml.xml')),
  'bad-results': (dir) => writeFileSync(join(dir, 'tev10xml.xml'), programForm(documentLines(dir, 'tev10xml.xml').slice(0, -3))),
  'empty-results': (dir) => writeFileSync(join(dir, 'tev10xml.xml'), ''),
  'bad-catalogue': (dir) => writeFileSync(join(dir, 'subjectxml.xml'),
    programForm([...documentLines(dir, 'subjectxml.xml').slice(0, -1), '<Sub><I>7</I><C>x</C><N>A & B</N><R>1</R></Sub>', '</Subs>'])),
};

let root;
let server;
before(async () => {
  root = tempFolder('marksend-site-');
  for (const [name, spoil] of Object.entries(variants)) {
    const dir = join(root.folder, name);
    mkdirSync(dir);
    writeSite(dir);
    spoil(dir);
  }
  server = await startPhpServer(root.folder);
});
after(async () => {
  await server?.stop();
  root?.remove();
});

// No PHP diagnostics may leak into an answer.
function assertClean(res) {
  assert.equal(res.status, 200);
  assert.doesNotMatch(res.text, /\b(Warning|Notice|Deprecated|Fatal error|Parse error)\b/);
  assert.ok(res.body.subarray(0, 3).equals(BOM), 'the answer begins with the byte-order mark');
}

describe('page files', () => {
  test('the repository holds the pages as LF text without a byte-order mark', () => {
    for (const name of ['web/input.php', 'web/gradeviewer.php', 'web/htaccess', 'web/router.php']) {
      const bytes = readFileSync(join(SOURCE_DIR, name));
      assert.ok(!bytes.subarray(0, 3).equals(BOM), `${name} has no BOM`);
      assert.ok(!bytes.includes(0x0d), `${name} has no CR`);
      assert.equal(bytes.at(-1), 0x0a, `${name} ends with a line feed`);
    }
  });

  test('the sign-in page is served byte for byte as written, with its form', async () => {
    const res = await request(server.url, '/ok/input.php');
    assertClean(res);
    assert.ok(res.body.equals(readFileSync(join(root.folder, 'ok', 'input.php'))));
    const text = res.text.slice(1);
    assert.match(text, /^<html>\r\n<head>\r\n<meta http-equiv="content-type" content="text\/html; charset=utf-8" \/>\r\n/);
    assert.match(text, /\.stylePink \{\s*background-color: #FFCCFF;\s*height: 30;\s*\}/);
    assert.match(text, /<FORM name="gradeForm" METHOD=POST ACTION="gradeviewer.php" onsubmit="return validateForm\(\)">/);
    assert.match(text, /<INPUT TYPE="text" NAME="ID" size="10">/);
    assert.match(text, /<INPUT TYPE="text" NAME="BDate" size="10">/);
    assert.match(text, /<INPUT TYPE="submit" NAME="mSend" value="แสดงผลการเรียน" \/>/);
    assert.match(text, /<INPUT TYPE="reset" NAME="mReset" value="ล้างข้อมูล" \/>/);
    assert.match(text, /alert\("กรุณากรอกข้อมูลให้ครบถ้วน"\)/);
    const [table, ...others] = parseTables(text);
    assert.equal(others.length, 0);
    assert.deepEqual(table.rows.map(rowSignature), [
      ['th*3:ระบบแสดงผลการเรียน'],
      ['td:เลขประจำตัวนักเรียน', 'td: :', 'td:'],
      ['td:วันเกิด วว/ดด/ปปปป', 'td: :', 'td:'],
      ['td*3: '],
    ]);
    assert.equal(table.rows[3].attrs.class, 'stylePink');
  });
});

describe('look-ups', () => {
  const cases = [
    { name: 'the student whose code and date match', ID: '4501', BDate: '05/03/2551', shown: [FOUND] },
    { name: 'a code typed with leading zeros', ID: '004501', BDate: '05/03/2551', shown: [FOUND] },
    { name: 'the same code with the other date', ID: '4501', BDate: '05/03/2552', shown: [DECOY] },
    { name: 'a date typed without leading zeros', ID: '4501', BDate: '5/3/2551', shown: [] },
    { name: 'a matching code with an empty date', ID: '4501', BDate: '', shown: [] },
    { name: 'two students with the same code and date', ID: '4600', BDate: '01/01/2550', shown: TWINS },
    { name: 'a student without terms', ID: '4700', BDate: '10/10/2550', shown: [HOSTILE] },
  ];
  for (const c of cases) {
    test(c.name, async () => {
      const res = await lookUp(server.url, '/ok', { ID: c.ID, BDate: c.BDate });
      assertClean(res);
      const tables = parseTables(res.text);
      if (c.shown.length === 0) {
        assert.equal(tables.length, 1);
        assert.deepEqual(tables[0].rows.map(rowSignature), NOT_FOUND_ROWS);
        assert.deepEqual(tables[0].rows[1].cells[0].links, ['input.php']);
        return;
      }
      assert.equal(tables.length, c.shown.length, 'one results table per matching student');
      c.shown.forEach((student, i) => {
        const last = i === c.shown.length - 1;
        assert.deepEqual(tables[i].rows.map(rowSignature), studentRows(student, last, SUBJECTS_WITH_DOUBLE));
        const [summary] = tables[i].rows[3].cells[0].tables;
        assert.deepEqual(summary.attrs, { id: 't01', align: 'right' });
        assert.deepEqual(summary.rows.map(rowSignature), summaryRows(student));
        assert.deepEqual(tables[i].rows[0].cells[0].links, ['input.php']);
      });
      // The closing row and the end of the results ends the page's output, once.
      assert.equal(res.text.split('<< กลับ'.replace(/</g, '&lt;')).length - 1, c.shown.length + 1);
      assert.ok(res.text.endsWith(`&lt;&lt; กลับ</a></td></tr></table>\n${TAIL}`));
    });
  }

  test('subjects are looked up in the catalogue: missing ones vanish, doubles repeat', async () => {
    const res = await lookUp(server.url, '/ok', { ID: '4501', BDate: '05/03/2551' });
    const rows = parseTables(res.text)[0].rows.map(rowSignature);
    assert.equal(rows.length, 16);
    const codes = rows.filter((r) => r.length === 9).map((r) => r[0]);
    assert.deepEqual(codes, ['td:ท21101', 'td:ค21101', 'td:ค21201', 'td:ว21101', 'td:พ21101']);
    assert.ok(!res.text.includes('10/20'), 'the result of a subject missing from the catalogue is not shown');
    assert.deepEqual(rows.filter((r) => r[0] === 'td:รหัสวิชา').map((r) => r[2]), ['td:หน่วยกิต', 'td:ชั่วโมง']);
  });

  test('markup from the documents comes out escaped', async () => {
    const hostile = await lookUp(server.url, '/ok', { ID: '4700', BDate: '10/10/2550' });
    assert.doesNotMatch(hostile.text, /<script/i);
    assert.ok(hostile.text.includes('&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;   &amp; O&#039;Neil'));
    assert.ok(hostile.text.includes('ระดับชั้น: ม.3/&lt;1&gt;'));
    const found = await lookUp(server.url, '/ok', { ID: '4501', BDate: '05/03/2551' });
    assert.ok(found.text.includes('<td align="left">&lt;b&gt;วิทยาศาสตร์1</td>'));
    assert.doesNotMatch(found.text, /<b>วิทยา/);
  });

  const unposted = [
    { name: 'a page opened without posting', path: '/ok/gradeviewer.php' },
    { name: 'only a code posted', form: { ID: '4501' } },
    { name: 'fields posted as lists', form: { 'ID[]': '4501', 'BDate[]': '05/03/2551' } },
  ];
  for (const c of unposted) {
    test(`${c.name}: not found, without notices`, async () => {
      const res = c.form ? await lookUp(server.url, '/ok', c.form) : await request(server.url, c.path);
      assertClean(res);
      const tables = parseTables(res.text);
      assert.equal(tables.length, 1);
      assert.deepEqual(tables[0].rows.map(rowSignature), NOT_FOUND_ROWS);
      assert.ok(res.text.endsWith(`กลับ</a></td></tr></table>${TAIL}`));
    });
  }
});

describe('failures', () => {
  const cases = [
    ['no-results', 'Failed to open tev10xml.xml.'],
    ['none', 'Failed to open tev10xml.xml.'],
    ['bad-results', 'Failed to open tev10xml.xml.'],
    ['empty-results', 'Failed to open tev10xml.xml.'],
    ['no-catalogue', 'Failed to open subjectxml.xml.'],
    ['bad-catalogue', 'Failed to open subjectxml.xml.'],
  ];
  for (const [site, message] of cases) {
    test(`${site}: "${message}" and nothing after it`, async () => {
      const res = await lookUp(server.url, `/${site}`, { ID: '4501', BDate: '05/03/2551' });
      assertClean(res);
      assert.ok(res.text.endsWith(`<div align=center>\r\n${message}`), res.text.slice(-200));
    });
  }
});

describe('demo router', () => {
  const cases = [
    ['/ok/tev10xml.xml', 403],
    ['/ok/subjectxml.xml', 403],
    ['/ok/.htaccess', 403],
    ['/ok/TEV10XML.XML', 403],
    ['/ok/%74ev10xml.xml', 403],
    ['/ok/x/../subjectxml.xml', 403],
    ['/ok/tev10xml.xml.', 403],
    ['/ok/tev10xml.xml/', 403],
    ['/ok/tev10xml.xml?x=1', 403],
    ['/ok/input.php', 200],
    ['/ok/gradeviewer.php', 200],
    ['/ok/missing.html', 404],
  ];
  for (const [path, status] of cases) {
    test(`${path} → ${status}`, async () => {
      const res = await request(server.url, path);
      assert.equal(res.status, status);
      assert.ok(!res.text.includes('<Std>') && !res.text.includes('<Sub>'));
    });
  }
});
