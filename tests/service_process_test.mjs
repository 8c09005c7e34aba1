// chenggu serve and chenggu mcp as their clients meet them: the README's curl examples, the
// OpenAPI description through a validator, bad and slow clients, a client that leaves in the
// middle of a batch, the connection cap, a graceful stop, and the Model Context Protocol
// through the official SDK's client over stdio and over HTTP. Traffic goes to 127.0.0.1 only.
//
//   node tests/service_process_test.mjs CHENGGU PROJECT_ROOT
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { test, after } from 'node:test';
import { validate } from '@readme/openapi-parser';
import { Client } from '@modelcontextprotocol/sdk/client/index.js';
import { StdioClientTransport } from '@modelcontextprotocol/sdk/client/stdio.js';
import { StreamableHTTPClientTransport } from '@modelcontextprotocol/sdk/client/streamableHttp.js';

const [chenggu, root] = process.argv.slice(2);
const servers = [];
after(() => servers.forEach((s) => s.process.kill('SIGKILL')));

// A server on a free port of the loopback; resolves once it listens.
function serve(...options) {
  const child = spawn(chenggu, ['serve', '--port', '0', ...options], { stdio: ['ignore', 'ignore', 'pipe'] });
  const server = { process: child, log: '' };
  servers.push(server);
  return new Promise((resolve, reject) => {
    child.stderr.setEncoding('utf8');
    child.stderr.on('data', (text) => {
      server.log += text;
      const port = /listening on http:\/\/127\.0\.0\.1:(\d+)\//.exec(server.log);
      if (port && !server.base) {
        server.base = `http://127.0.0.1:${port[1]}`;
        server.port = Number(port[1]);
        resolve(server);
      }
    });
    child.on('exit', (code) => reject(new Error(`chenggu serve ended with ${code}: ${server.log}`)));
  });
}

// A raw connection: what it is sent, and everything it receives until the server closes it.
function raw(port, send) {
  return new Promise((resolve) => {
    const socket = net.connect(port, '127.0.0.1');
    let received = '';
    const started = Date.now();
    socket.setEncoding('latin1');
    socket.on('data', (d) => { received += d; });
    socket.on('close', () => resolve({ received, ms: Date.now() - started }));
    socket.on('error', () => {});
    send(socket);
  });
}

const problem = async (response, status, code) => {
  assert.equal(response.status, status);
  assert.equal(response.headers.get('content-type'), 'application/problem+json');
  const body = await response.json();
  assert.equal(body.code, code);
  return body;
};

const batchOf = (count) => Array.from({ length: count }, (_, i) =>
  JSON.stringify({ date: `${1901 + (i % 200)}-${1 + (i % 12)}-${1 + (i % 28)}`, period: '子午卯酉'[i % 4] })).join('\n') + '\n';

test('the README curl examples answer', async () => {
  const server = await serve('--quiet');
  const readme = fs.readFileSync(path.join(root, 'README.md'), 'utf8');
  const section = readme.split('\n## Run it as a service')[1].split('\n## ')[0];
  const commands = [...section.matchAll(/```sh\n([\s\S]*?)```/g)].flatMap((m) => m[1].split('\n'))
    .filter((line) => /(^|\| )curl /.test(line));
  assert.ok(commands.length >= 10, 'curl examples in the README');
  for (const command of commands) {
    const output = execFileSync('bash', ['-c', command.replaceAll('127.0.0.1:8080', `127.0.0.1:${server.port}`)],
      { encoding: 'utf8' });
    if (command.includes('/metrics')) {
      assert.match(output, /^chenggu_http_requests_total\{route="\/v1\/reading",status="200"\} \d+$/m);
    } else {
      for (const line of output.trim().split('\n')) assert.doesNotThrow(() => JSON.parse(line), command);
      assert.ok(!output.includes('"status":404') && !output.includes('"status":405'), command);
    }
  }
});

test('the description validates and every route it names is served', async () => {
  const server = await serve('--quiet');
  const description = await (await fetch(`${server.base}/openapi.json`)).json();
  const result = await validate(structuredClone(description));
  assert.ok(result.valid, JSON.stringify(result.errors));
  assert.equal(description.info.version, execFileSync(chenggu, ['--version'], { encoding: 'utf8' }).trim().split(' ')[1]);
  for (const [route, operations] of Object.entries(description.paths)) {
    for (const method of Object.keys(operations)) {
      const response = await fetch(`${server.base}${route}`, { method: method.toUpperCase(), body: method === 'post' ? '{}' : undefined });
      assert.ok(![404, 405].includes(response.status), `${method} ${route}: ${response.status}`);
      await response.arrayBuffer();
    }
  }
  const preflight = await fetch(`${server.base}/v1/reading`, { method: 'OPTIONS', headers: { Origin: 'https://example.org', 'Access-Control-Request-Method': 'POST' } });
  assert.equal(preflight.status, 204);
  assert.equal(preflight.headers.get('access-control-allow-origin'), '*');
});

test('bad requests get their problem and the server keeps serving', async () => {
  const server = await serve('--quiet');
  await problem(await fetch(`${server.base}/v1/reading`, { method: 'POST', body: 'x'.repeat((1 << 20) + 1) }), 413, 'request-too-large');
  await problem(await fetch(`${server.base}/v1/readings`, { method: 'POST', body: '\n'.repeat(100001) }), 413, 'request-too-large');
  await problem(await fetch(`${server.base}/v1/reading`, { method: 'POST', body: '{"date":' }), 400, 'bad-request');
  await problem(await fetch(`${server.base}/v1/reading`, { method: 'PUT', body: '{}' }), 405, 'method-not-allowed');
  await problem(await fetch(`${server.base}/v1/nothing`), 404, 'no-such-route');
  const english = await problem(await fetch(`${server.base}/v1/reading?date=2001-02-29`, { headers: { 'Accept-Language': 'en' } }), 400, 'no-such-date');
  assert.match(english.detail, /^2001-02-29 does not exist/);
  // Not HTTP at all, and a header past 64 KiB: answered, then closed.
  const garbage = await raw(server.port, (s) => s.write('\x00\x01\x02 nonsense\r\n\r\n'));
  assert.match(garbage.received, /^HTTP\/1\.1 400 /);
  const huge = await raw(server.port, (s) => s.write(`GET /healthz HTTP/1.1\r\nX: ${'a'.repeat(70000)}\r\n\r\n`));
  assert.match(huge.received, /^HTTP\/1\.1 431 /);
  // A client that leaves in the middle of a streamed batch.
  await raw(server.port, (s) => {
    const body = batchOf(100000);
    s.write(`POST /v1/readings HTTP/1.1\r\nHost: x\r\nContent-Length: ${Buffer.byteLength(body)}\r\n\r\n${body}`);
    s.once('data', () => s.destroy());
  });
  const full = await fetch(`${server.base}/v1/readings`, { method: 'POST', body: batchOf(100000) });
  assert.equal(full.headers.get('content-type'), 'application/x-ndjson');
  const lines = (await full.text()).trim().split('\n');
  assert.equal(lines.length, 100000);
  assert.deepEqual(JSON.parse(lines[99999]), await (await fetch(`${server.base}/v1/reading`, { method: 'POST', body: batchOf(100000).trim().split('\n')[99999] })).json());
  assert.equal((await fetch(`${server.base}/healthz`)).status, 200);
  const metrics = await (await fetch(`${server.base}/metrics`)).text();
  assert.match(metrics, /chenggu_http_requests_total\{route="\/v1\/readings",status="413"\} 1/);
  assert.match(metrics, /chenggu_http_request_duration_seconds_bucket\{route="\/v1\/readings",le="\+Inf"\} [1-9]/);
});

test('a client that trickles its header is cut off without slowing the others', async () => {
  const server = await serve('--quiet', '--header-timeout', '2');
  const slow = raw(server.port, (s) => {
    const request = 'GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n';
    let i = 0;
    const timer = setInterval(() => (i < request.length && !s.destroyed ? s.write(request[i++]) : clearInterval(timer)), 500);
    s.on('close', () => clearInterval(timer));
  });
  const times = [];
  for (let i = 0; i < 20; ++i) {
    const started = Date.now();
    assert.equal((await fetch(`${server.base}/v1/reading?date=1990-01-30&period=%E5%AD%90`)).status, 200);
    times.push(Date.now() - started);
    await new Promise((r) => setTimeout(r, 50));
  }
  const { received, ms } = await slow;
  assert.equal(received, '', 'the trickling client gets no answer');
  assert.ok(ms >= 1900 && ms < 4000, `cut off after ${ms} ms`);
  assert.ok(Math.max(...times) < 1000, `the others answered in ${times}`);
});

test('connections past the cap are told the server is busy', async () => {
  const server = await serve('--quiet', '--max-connections', '2');
  const idle = [net.connect(server.port, '127.0.0.1'), net.connect(server.port, '127.0.0.1')];
  await new Promise((r) => setTimeout(r, 200));
  const busy = await raw(server.port, (s) => s.write('GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n'));
  assert.match(busy.received, /^HTTP\/1\.1 503 [\s\S]*"code":"service-busy"/);
  idle.forEach((s) => s.destroy());
  await new Promise((r) => setTimeout(r, 200));
  const served = await raw(server.port, (s) => s.write('GET /healthz HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n'));
  assert.match(served.received, /^HTTP\/1\.1 200 /);
});

test('SIGTERM finishes the batch in flight and exits 0 within 5 s', async () => {
  const server = await serve('--drain', '0');
  const idle = net.connect(server.port, '127.0.0.1');  // an idle client does not hold the stop
  idle.on('error', () => {});
  // A batch that takes a while but ends within the 4 s a stop allows, under the sanitizers too.
  const response = await fetch(`${server.base}/v1/readings`, { method: 'POST', body: batchOf(20000) });
  const exited = new Promise((resolve) => server.process.on('exit', (code) => resolve({ code, at: Date.now() })));
  const stoppedAt = Date.now();
  server.process.kill('SIGTERM');
  const body = await response.text();
  assert.equal(body.trim().split('\n').length, 20000);
  const { code, at } = await exited;
  assert.equal(code, 0);
  assert.ok(at - stoppedAt < 5000, `exited after ${at - stoppedAt} ms`);
  const log = server.log.trim().split('\n').filter((line) => line.startsWith('{')).map((line) => JSON.parse(line));
  assert.deepEqual(Object.keys(log[0]), ['time', 'id', 'method', 'path', 'status', 'us']);
  assert.equal(log.at(-1).path, '/v1/readings');
  await assert.rejects(fetch(`${server.base}/healthz`));
});

test('SIGTERM drains: /readyz turns 503 at once, answers go on, then the stop', async () => {
  const server = await serve('--drain', '2');
  assert.equal((await fetch(`${server.base}/readyz`)).status, 200);
  const exited = new Promise((resolve) => server.process.on('exit', (code) => resolve({ code, at: Date.now() })));
  const stoppedAt = Date.now();
  server.process.kill('SIGTERM');
  await new Promise((r) => setTimeout(r, 100));
  const ready = await fetch(`${server.base}/readyz`);
  assert.equal(ready.status, 503);
  assert.deepEqual(await ready.json(), { status: 'draining' });
  for (let i = 0; i < 10; ++i) {
    assert.equal((await fetch(`${server.base}/healthz`)).status, 200);
    const reading = await fetch(`${server.base}/v1/reading?date=1990-01-30&period=%E5%AD%90`);
    assert.equal(reading.status, 200);
    assert.equal(reading.headers.get('connection'), 'close', 'while draining, each answer closes its connection');
    await new Promise((r) => setTimeout(r, 100));
  }
  const { code, at } = await exited;
  assert.equal(code, 0);
  assert.ok(at - stoppedAt >= 2000 && at - stoppedAt < 7000, `stopped after ${at - stoppedAt} ms`);
});

test('every answer carries X-Request-Id, the caller\'s when usable, and its log line holds it', async () => {
  const server = await serve();
  const idOf = async (id) => (await fetch(`${server.base}/healthz`, { headers: id === undefined ? {} : { 'X-Request-Id': id } }))
    .headers.get('x-request-id');
  assert.equal(await idOf('trace-42/a:b'), 'trace-42/a:b');
  const made = await idOf(undefined);
  assert.match(made, /^[0-9a-f]{32}$/);
  assert.notEqual(await idOf(undefined), made);
  for (const bad of ['with space', '"quoted"', 'x'.repeat(129), '']) assert.match(await idOf(bad), /^[0-9a-f]{32}$/, bad);
  // A request the parser refuses has one too, as has the 413 of a body too large.
  const garbage = await raw(server.port, (s) => s.end('\x00\x01 nonsense\r\n\r\n'));
  assert.match(garbage.received, /\r\nX-Request-Id: [0-9a-f]{32}\r\n/);
  await new Promise((r) => setTimeout(r, 100));
  const lines = server.log.trim().split('\n').filter((line) => line.startsWith('{')).map((line) => JSON.parse(line));
  assert.ok(lines.some((line) => line.id === 'trace-42/a:b' && line.path === '/healthz'));
  assert.ok(lines.every((line) => typeof line.id === 'string' && line.id.length > 0));
});

test('the page: from --web, or a page that says how to add it', async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'chenggu-web-'));
  fs.writeFileSync(path.join(folder, 'index.html'), '<!doctype html><title>称骨</title>');
  fs.writeFileSync(path.join(folder, 'birthplace.js'), 'export default 1;');
  const withPage = await serve('--quiet', '--web', folder);
  assert.equal(await (await fetch(`${withPage.base}/`)).text(), '<!doctype html><title>称骨</title>');
  const script = await fetch(`${withPage.base}/birthplace.js`);
  assert.equal(script.headers.get('content-type'), 'text/javascript; charset=utf-8');
  const refused = spawn(chenggu, ['serve', '--web', os.tmpdir() + '/no-such-folder']);
  assert.equal(await new Promise((r) => refused.on('exit', r)), 2);
});

test('the MCP tools answer through the official client, over stdio and over HTTP', async () => {
  const server = await serve('--quiet');
  const transports = [
    new StdioClientTransport({ command: chenggu, args: ['mcp'] }),
    new StreamableHTTPClientTransport(new URL(`${server.base}/mcp`)),
  ];
  for (const transport of transports) {
    const client = new Client({ name: 'chenggu-test', version: '1.0.0' });
    await client.connect(transport);
    const { tools } = await client.listTools();
    assert.deepEqual(tools.map((t) => t.name).sort(), ['bone_weight_reading', 'find_places', 'lunar_date', 'solar_terms']);
    const request = { date: '2024-02-04', period: '10:00', place: '北京', yearStart: 'spring' };
    const reading = await client.callTool({ name: 'bone_weight_reading', arguments: request });
    const expected = await (await fetch(`${server.base}/v1/reading`, { method: 'POST', body: JSON.stringify(request) })).json();
    assert.deepEqual(reading.structuredContent, expected);
    assert.match(reading.content[0].text, /四两八钱/);
    const terms = await client.callTool({ name: 'solar_terms', arguments: { year: 2100 } });
    assert.equal(terms.structuredContent.terms.length, 24);
    const day = await client.callTool({ name: 'lunar_date', arguments: { date: '2020-闰4-1', lunar: true } });
    assert.equal(day.structuredContent.date, '2020-05-23');
    const places = await client.callTool({ name: 'find_places', arguments: { query: '成都' } });
    assert.equal(places.structuredContent.places[0].fullName, '四川省成都市');
    const refused = await client.callTool({ name: 'bone_weight_reading', arguments: { date: '2001-02-29', period: '子' } });
    assert.equal(refused.isError, true);
    await client.close();
  }
});
