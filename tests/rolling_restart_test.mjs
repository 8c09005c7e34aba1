// A rolling restart loses no request: three copies of chenggu serve behind HAProxy (Debian's,
// checking each copy's /readyz as a Kubernetes readiness probe does), readings sent at a steady
// rate for the whole run, the copies stopped (SIGTERM: drain, then stop) and started again one
// after another as a rolling update does, then one killed (SIGKILL). The figures of each phase
// are printed: requests sent, answered 200, failed, and retried by the balancer (none should be
// needed: a Kubernetes Service retries nothing). The test fails on a count, never on a time.
// Everything runs on 127.0.0.1, bounded in time and count.
//
//   node tests/rolling_restart_test.mjs CHENGGU [RATE]
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { test, after } from 'node:test';

const [chenggu, rateText = '400'] = process.argv.slice(2);
const rate = Number(rateText);
const DRAIN = 2;  // seconds; the manifests give 5
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'chenggu-rolling-'));
const processes = new Set();
after(() => {
  for (const child of processes) child.kill('SIGKILL');
  fs.rmSync(work, { recursive: true, force: true });
});

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function freePort() {
  return new Promise((resolve) => {
    const server = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

function start(command, args) {
  const child = spawn(command, args, { stdio: ['ignore', 'ignore', 'pipe'] });
  processes.add(child);
  child.on('exit', () => processes.delete(child));
  child.stderr.resume();
  return child;
}

async function waitFor(url, status = 200) {
  for (let i = 0; i < 100; i++) {
    try {
      if ((await fetch(url)).status === status) return;
    } catch {
      // not up yet
    }
    await sleep(50);
  }
  throw new Error(`${url} never answered ${status}`);
}

// A copy of the service on a port of its own.
async function copy(port) {
  const child = start(chenggu, ['serve', '--port', String(port), '--drain', String(DRAIN), '--quiet']);
  await waitFor(`http://127.0.0.1:${port}/readyz`);
  return child;
}

// HAProxy's counters of the backend: requests retried on another copy or on the same one.
function retries(socket) {
  return new Promise((resolve, reject) => {
    let text = '';
    const connection = net.createConnection(socket, () => connection.end('show stat\n'));
    connection.on('data', (d) => { text += d; });
    connection.on('error', reject);
    connection.on('end', () => {
      const [header, ...rows] = text.trim().split('\n');
      const columns = header.replace(/^# /, '').split(',');
      const backend = rows.map((row) => row.split(',')).find((cells) => cells[0] === 'copies' && cells[1] === 'BACKEND');
      const cell = (name) => Number(backend[columns.indexOf(name)] || 0);
      resolve(cell('wretr') + cell('wredis'));
    });
  });
}

test('a rolling restart loses no request; a killed copy costs only what it had in flight', async () => {
  const ports = await Promise.all([freePort(), freePort(), freePort()]);
  const front = await freePort();
  const socket = path.join(work, 'haproxy.sock');
  fs.writeFileSync(path.join(work, 'haproxy.cfg'), `global
  maxconn 4096
  stats socket ${socket} mode 600 level admin
defaults
  mode http
  timeout connect 1s
  timeout client 10s
  timeout server 10s
  retries 3
  option redispatch
  option http-server-close
frontend readings
  bind 127.0.0.1:${front}
  default_backend copies
backend copies
  balance roundrobin
  option httpchk GET /readyz
  http-check expect status 200
  default-server inter 250ms fall 1 rise 1
${ports.map((port, i) => `  server copy${i} 127.0.0.1:${port} check`).join('\n')}
`);
  const copies = [];
  for (const port of ports) copies.push(await copy(port));
  start('haproxy', ['-db', '-f', path.join(work, 'haproxy.cfg')]);
  await waitFor(`http://127.0.0.1:${front}/readyz`);
  await sleep(500);  // every copy checked up

  // Readings at a steady rate, counted by phase; in flight: sent and not yet answered.
  const phases = { warmup: null, rolling: null, kill: null };
  let phase = 'warmup';
  let inFlight = 0;
  let sending = true;
  const count = () => ({ sent: 0, ok: 0, failed: 0, retried: 0, inFlightAtKill: 0, failures: [] });
  for (const name of Object.keys(phases)) phases[name] = count();
  const send = async () => {
    const counts = phases[phase];
    counts.sent += 1;
    inFlight += 1;
    const day = 1 + (counts.sent % 28);
    try {
      const response = await fetch(`http://127.0.0.1:${front}/v1/reading?date=1990-01-${String(day).padStart(2, '0')}&period=%E5%AD%90`);
      await response.arrayBuffer();
      if (response.status === 200) {
        counts.ok += 1;
      } else {
        counts.failed += 1;
        counts.failures.push(`${response.status} ${response.headers.get('x-request-id')}`);
      }
    } catch (error) {
      counts.failed += 1;
      counts.failures.push(error.cause?.code ?? error.message);
    } finally {
      inFlight -= 1;
    }
  };
  const requests = [];
  const loop = (async () => {
    const started = Date.now();
    for (let i = 0; sending; i++) {
      requests.push(send());
      const due = started + ((i + 1) * 1000) / rate;
      await sleep(Math.max(0, due - Date.now()));
    }
  })();

  await sleep(1000);
  phase = 'rolling';
  let before = await retries(socket);
  for (let i = 0; i < copies.length; i++) {
    const exited = new Promise((resolve) => copies[i].once('exit', resolve));
    copies[i].kill('SIGTERM');
    await exited;
    copies[i] = await copy(ports[i]);
    await sleep(750);  // checked up again before the next one goes
  }
  phases.rolling.retried = (await retries(socket)) - before;

  phase = 'kill';
  before = await retries(socket);
  phases.kill.inFlightAtKill = inFlight;
  copies[0].kill('SIGKILL');
  await sleep(2000);
  sending = false;
  await loop;
  await Promise.all(requests);
  phases.kill.retried = (await retries(socket)) - before;

  for (const [name, counts] of Object.entries(phases)) {
    console.log(`# ${name}: ${counts.sent} sent, ${counts.ok} answered 200, ${counts.failed} failed, ` +
      `${counts.retried} retried by the balancer${name === 'kill' ? `, ${counts.inFlightAtKill} in flight at the kill` : ''}` +
      (counts.failures.length ? ` (${counts.failures.slice(0, 5).join(', ')})` : ''));
  }
  assert.equal(phases.warmup.failed, 0);
  assert.ok(phases.rolling.sent > rate * 3, `${phases.rolling.sent} requests during the restart`);
  assert.equal(phases.rolling.failed, 0, 'requests lost in the rolling restart');
  assert.equal(phases.rolling.retried, 0, 'requests the balancer had to retry in the rolling restart');
  assert.equal(phases.kill.ok + phases.kill.failed, phases.kill.sent);
});
