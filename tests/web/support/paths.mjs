// Where the tests find the source tree, the built programs and the place for
// screenshots; CTest passes the first two, the defaults serve a manual run.
import { mkdirSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));

export const SOURCE_DIR = resolve(process.env.MARKSEND_SOURCE_DIR || join(here, '..', '..', '..'));
export const BIN_DIR = resolve(process.env.MARKSEND_BIN_DIR || join(SOURCE_DIR, 'build', 'bin'));
export const ROUTER = join(SOURCE_DIR, 'web', 'router.php');

// The screenshot folder, created on first use.
export function artifactsDir() {
  const dir = resolve(process.env.MARKSEND_ARTIFACTS || join(BIN_DIR, '..', 'artifacts'));
  mkdirSync(dir, { recursive: true });
  return dir;
}
