// Web servers that a test starts on a free loopback port and always stops,
// and a plain HTTP client that sends paths exactly as written.
import { spawn } from 'node:child_process';
import { request as httpRequest } from 'node:http';
import { connect, createServer } from 'node:net';
import { setTimeout as sleep } from 'node:timers/promises';
import { ROUTER } from './paths.mjs';

const HOST = '127.0.0.1';

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = createServer();
    probe.once('error', reject);
    probe.listen(0, HOST, () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

function accepts(port) {
  return new Promise((resolve) => {
    const socket = connect(port, HOST);
    socket.once('connect', () => { socket.destroy(); resolve(true); });
    socket.once('error', () => resolve(false));
  });
}

// Running servers, stopped on any exit of the test process as a last resort.
const running = new Set();
process.once('exit', () => { for (const child of running) child.kill('SIGKILL'); });

// Starts command(port) and waits until the port accepts connections. Retries
// on another port when the server dies first (the port was taken meanwhile).
// Returns { port, url, stop(), log() }; stop() resolves once the server exited.
async function startServer(name, command) {
  let lastLog = '';
  for (let attempt = 0; attempt < 5; attempt++) {
    const port = await freePort();
    const [program, args, options] = command(port);
    const child = spawn(program, args, { stdio: ['ignore', 'pipe', 'pipe'], ...options });
    running.add(child);
    let log = '';
    child.stdout.on('data', (d) => { log += d; });
    child.stderr.on('data', (d) => { log += d; });
    const exited = new Promise((resolve) => child.once('exit', resolve));
    child.once('error', (e) => { log += String(e); });
    let dead = false;
    exited.then(() => { dead = true; running.delete(child); });
    for (let i = 0; i < 200 && !dead; i++) {
      if (await accepts(port)) {
        const stop = async () => {
          if (!dead) child.kill('SIGTERM');
          await exited;
        };
        return { port, url: `http://${HOST}:${port}`, stop, log: () => log };
      }
      await sleep(50);
    }
    if (!dead) child.kill('SIGKILL');
    await exited;
    lastLog = log;
  }
  throw new Error(`${name} did not start:\n${lastLog}`);
}

// PHP's built-in server on folder through the demo router, with every notice
// and warning shown in the answers so that a test sees them.
export function startPhpServer(folder) {
  return startServer('php -S', (port) => ['php', [
    '-d', 'error_reporting=-1', '-d', 'display_errors=1',
    '-d', 'html_errors=0', '-S', `${HOST}:${port}`, '-t', folder, ROUTER,
  ]]);
}

// Apache with the given config text; configFor(port) writes the file and
// returns its path.
export function startApache(configFor) {
  // Its own process group: on shutdown prefork signals its whole group.
  return startServer('apache2', (port) => ['apache2', ['-f', configFor(port), '-DFOREGROUND'], { detached: true }]);
}

// One HTTP exchange. form (an object) is posted as UTF-8 url-encoded fields.
// Resolves to { status, headers, body (Buffer), text (UTF-8) }.
export function request(baseUrl, path, { method = 'GET', form } = {}) {
  const { hostname, port } = new URL(baseUrl);
  const payload = form === undefined ? null : Buffer.from(new URLSearchParams(form).toString(), 'utf8');
  const headers = payload === null ? {} : {
    'Content-Type': 'application/x-www-form-urlencoded; charset=UTF-8', 'Content-Length': payload.length,
  };
  return new Promise((resolve, reject) => {
    const req = httpRequest({ hostname, port, path, method: payload ? 'POST' : method, headers }, (res) => {
      const chunks = [];
      res.on('data', (c) => chunks.push(c));
      res.on('end', () => {
        const body = Buffer.concat(chunks);
        resolve({ status: res.statusCode, headers: res.headers, body, text: body.toString('utf8') });
      });
      res.on('error', reject);
    });
    req.on('error', reject);
    req.end(payload ?? undefined);
  });
}

// Posts a look-up to the grade viewer in folder path prefix.
export function lookUp(baseUrl, prefix, fields) {
  return request(baseUrl, `${prefix}/gradeviewer.php`, { form: { ...fields, mSend: 'แสดงผลการเรียน' } });
}
