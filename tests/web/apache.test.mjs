// The site under real Apache 2.4 with mod_php and the exported .htaccess:
// the two documents are refused, the pages still read them.
import assert from 'node:assert/strict';
import { chmodSync, existsSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { FOUND, tempFolder, writeSite } from './support/fixture.mjs';
import { parseTables } from './support/html.mjs';
import { lookUp, request, startApache } from './support/servers.mjs';

const MODULES = '/usr/lib/apache2/modules';

// The installed mod_php; PHP 8 names its module php_module, PHP 7 php7_module.
function phpModule() {
  const file = readdirSync(MODULES).find((f) => /^libphp[0-9.]*\.so$/.test(f));
  assert.ok(file, `no mod_php in ${MODULES} (Debian package libapache2-mod-php)`);
  return { file: join(MODULES, file), name: file.startsWith('libphp7') ? 'php7_module' : 'php_module' };
}

function config(work, docroot, port) {
  const php = phpModule();
  // As root Apache must hand its children to an unprivileged user.
  const user = process.getuid?.() === 0 ? 'User www-data\nGroup www-data\n' : '';
  return `ServerRoot "${work}"
ServerName 127.0.0.1
Listen 127.0.0.1:${port}
PidFile "${work}/httpd.pid"
DefaultRuntimeDir "${work}"
ErrorLog "${work}/error.log"
LogLevel warn
${user}
LoadModule mpm_prefork_module ${MODULES}/mod_mpm_prefork.so
LoadModule authn_core_module ${MODULES}/mod_authn_core.so
LoadModule authz_core_module ${MODULES}/mod_authz_core.so
LoadModule dir_module ${MODULES}/mod_dir.so
LoadModule mime_module ${MODULES}/mod_mime.so
LoadModule ${php.name} ${php.file}
StartServers 1
MinSpareServers 1
MaxSpareServers 2
TypesConfig /etc/mime.types
DocumentRoot "${docroot}"
<Directory />
  AllowOverride None
  Require all denied
</Directory>
<Directory "${docroot}">
  AllowOverride All
  Require all granted
</Directory>
DirectoryIndex input.php
<FilesMatch "\\.php$">
  SetHandler application/x-httpd-php
</FilesMatch>
`;
}

let work;
const errorLog = () => {
  const file = join(work.folder, 'error.log');
  return existsSync(file) ? readFileSync(file, 'utf8') : '';
};
let site;
let server;
before(async () => {
  work = tempFolder('marksend-apache-');
  site = tempFolder('marksend-apache-site-');
  writeSite(site.folder);
  // Apache's children run as www-data: the site must be readable by others.
  chmodSync(site.folder, 0o755);
  for (const f of readdirSync(site.folder)) chmodSync(join(site.folder, f), 0o644);
  server = await startApache((port) => {
    const file = join(work.folder, 'httpd.conf');
    writeFileSync(file, config(work.folder, site.folder, port));
    return file;
  });
});
after(async () => {
  await server?.stop();
  site?.remove();
  work?.remove();
});

test('the documents are refused, the pages are served', async () => {
  const cases = [['/tev10xml.xml', 403], ['/subjectxml.xml', 403], ['/input.php', 200], ['/', 200]];
  for (const [path, status] of cases) {
    const res = await request(server.url, path);
    assert.equal(res.status, status, `${path}\n${errorLog()}`);
    assert.ok(!res.text.includes('<Std>') && !res.text.includes('<Sub>'), path);
  }
});

test('a look-up through the grade viewer reads both documents', async () => {
  const res = await lookUp(server.url, '', { ID: FOUND.Co, BDate: FOUND.BD });
  assert.equal(res.status, 200);
  const [table] = parseTables(res.text);
  assert.equal(table.rows[1].cells[0].text, `เลขประจำตัวนักเรียน: ${FOUND.Co} ชื่อ: ${FOUND.Na}`);
  assert.equal(table.rows[7].cells[1].text, 'ภาษาไทย1', 'a subject name from the catalogue');
});
