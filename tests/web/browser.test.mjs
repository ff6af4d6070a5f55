// The site in Debian's chromium, driven by playwright-core: the sign-in
// check, Enter, reset, and a rendered look-up; screenshots for a person.
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { after, before, beforeEach, describe, test } from 'node:test';
import { FOUND, tempFolder, writeSite } from './support/fixture.mjs';
import { studentRows } from './support/expected.mjs';
import { artifactsDir } from './support/paths.mjs';
import { startPhpServer } from './support/servers.mjs';

const { chromium } = await import('playwright-core').catch((e) => {
  throw new Error(`playwright-core is missing: run npm ci --prefix tests/web (${e.message})`);
});

const ALERT = 'กรุณากรอกข้อมูลให้ครบถ้วน';
const CHROMIUM_ARGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

let site;
let profile;
let server;
let browser;
let page;
let dialogs;
let posts;

before(async () => {
  site = tempFolder('marksend-browser-site-');
  profile = tempFolder('marksend-browser-profile-');
  writeSite(site.folder);
  server = await startPhpServer(site.folder);
  browser = await chromium.launchPersistentContext(profile.folder, {
    executablePath: '/usr/bin/chromium', headless: true, args: CHROMIUM_ARGS, viewport: { width: 900, height: 700 },
  });
  page = browser.pages()[0] ?? await browser.newPage();
  page.on('dialog', (d) => { dialogs.push(d.message()); d.dismiss(); });
  page.on('request', (r) => { if (r.method() === 'POST') posts.push(r.postData()); });
});
after(async () => {
  await browser?.close();
  await server?.stop();
  site?.remove();
  profile?.remove();
});
beforeEach(async () => {
  dialogs = [];
  posts = [];
  await page.goto(`${server.url}/input.php`);
});

const postsSeenByServer = () => (server.log().match(/POST \/gradeviewer\.php/g) ?? []).length;

async function fill(id, bdate) {
  await page.fill('input[name="ID"]', id);
  await page.fill('input[name="BDate"]', bdate);
}

describe('sign-in page', () => {
  const incomplete = [['', ''], ['4501', ''], ['', '05/03/2551']];
  for (const [id, bdate] of incomplete) {
    test(`code "${id}" and date "${bdate}": the alert, nothing posted`, async () => {
      const before = postsSeenByServer();
      await fill(id, bdate);
      await page.click('input[name="mSend"]');
      await page.evaluate(() => new Promise((r) => setTimeout(r, 0)));
      assert.deepEqual(dialogs, [ALERT]);
      assert.deepEqual(posts, []);
      assert.match(page.url(), /\/input\.php$/);
      assert.equal(postsSeenByServer(), before);
      assert.equal(await page.inputValue('input[name="ID"]'), id);
    });
  }

  test('Enter in an empty field goes through the same check', async () => {
    await fill('4501', '');
    await page.press('input[name="BDate"]', 'Enter');
    await page.evaluate(() => new Promise((r) => setTimeout(r, 0)));
    assert.deepEqual(dialogs, [ALERT]);
    assert.deepEqual(posts, []);
  });

  test('values of spaces pass the check and are posted', async () => {
    await fill('  ', ' ');
    await Promise.all([page.waitForURL(/gradeviewer\.php$/), page.click('input[name="mSend"]')]);
    assert.deepEqual(dialogs, []);
    assert.equal(posts.length, 1);
    const fields = new URLSearchParams(posts[0]);
    assert.equal(fields.get('ID'), '  ');
    assert.equal(fields.get('BDate'), ' ');
    assert.equal(fields.get('mSend'), 'แสดงผลการเรียน');
    assert.equal(await page.textContent('th'), 'ไม่พบข้อมูลดังกล่าวกรุณาป้อนข้อมูลใหม่');
  });

  test('reset empties both fields without a check', async () => {
    await fill('4501', '05/03/2551');
    await page.click('input[name="mReset"]');
    assert.equal(await page.inputValue('input[name="ID"]'), '');
    assert.equal(await page.inputValue('input[name="BDate"]'), '');
    assert.deepEqual(dialogs, []);
    assert.deepEqual(posts, []);
  });

  test('renders in quirks mode with its styles', async () => {
    assert.equal(await page.evaluate(() => document.compatMode), 'BackCompat');
    assert.equal(await page.evaluate(() => getComputedStyle(document.querySelector('th')).backgroundColor),
      'rgb(255, 121, 77)');
    // The unit-less height of the button row takes effect only in quirks mode.
    assert.equal(await page.evaluate(() => getComputedStyle(document.querySelector('.stylePink')).height), '30px');
    await page.screenshot({ path: join(artifactsDir(), 'sign-in.png') });
  });
});

describe('look-up', () => {
  test('Enter submits, and the result tables render', async () => {
    await fill('004501', '05/03/2551');
    await Promise.all([page.waitForURL(/gradeviewer\.php$/), page.press('input[name="ID"]', 'Enter')]);
    assert.deepEqual(dialogs, []);
    const shown = await page.evaluate(() => ({
      tables: document.querySelectorAll('body > div > table').length,
      summary: document.querySelectorAll('table#t01 tr').length,
      rows: document.querySelectorAll('body > div > table > tbody > tr').length,
      heading: document.querySelectorAll('th')[0].textContent,
      back: [...document.querySelectorAll('a')].map((a) => a.getAttribute('href')),
    }));
    assert.deepEqual(shown, {
      tables: 1, summary: 2, rows: studentRows(FOUND, true).length,
      heading: `เลขประจำตัวนักเรียน: ${FOUND.Co} ชื่อ: ${FOUND.Na}`,
      back: ['input.php', 'input.php'],
    });
    await page.screenshot({ path: join(artifactsDir(), 'grade-viewer.png'), fullPage: true });
    await Promise.all([page.waitForURL(/input\.php$/), page.click('a >> nth=0')]);
  });
});
