// chenggu serve for a test or a figure: started on a free port of the loopback, resolved once
// it listens, with its address. The caller kills it.
import { spawn } from 'node:child_process';

export function startServe(chenggu, ...options) {
  const child = spawn(chenggu, ['serve', '--port', '0', ...options], { stdio: ['ignore', 'ignore', 'pipe'] });
  return new Promise((resolve, reject) => {
    let log = '';
    child.stderr.on('data', (text) => {
      log += text;
      const found = /listening on (http:\/\/127\.0\.0\.1:\d+)\//.exec(log);
      if (found) resolve({ child, base: found[1], close: () => child.kill() });
    });
    child.on('exit', (code) => reject(new Error(`chenggu serve ended with ${code}: ${log}`)));
  });
}
