// The Kubernetes manifests as a cluster would take them, with no cluster: rendered by
// kubectl kustomize (base, example overlay, monitoring component), every object validated by
// the Kubernetes schemas of npm kubernetes-models, refused for an API version Kubernetes no
// longer serves or a field its type does not declare (as kubectl apply's strict field
// validation refuses it), and held to the rules that matter here: probes on routes the server
// answers, the port it listens on, the security settings, resources, a drain within the grace.
//
//   node tests/deploy_test.mjs CHENGGU PROJECT_ROOT
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { test, after } from 'node:test';
import { parseAllDocuments } from 'yaml';
import { startServe } from './chenggu_serve.mjs';

const [chenggu, root] = process.argv.slice(2);
const children = [];
after(() => children.forEach((child) => child.kill('SIGKILL')));

// Versions Kubernetes served once and serves no more (the API deprecation guide, up to 1.32).
const REMOVED = ['extensions/v1beta1', 'apps/v1beta1', 'apps/v1beta2', 'policy/v1beta1',
  'autoscaling/v2beta1', 'autoscaling/v2beta2', 'networking.k8s.io/v1beta1', 'batch/v1beta1',
  'rbac.authorization.k8s.io/v1beta1', 'storage.k8s.io/v1beta1', 'flowcontrol.apiserver.k8s.io/v1beta3'];

function render(folder) {
  return parseAllDocuments(execFileSync('kubectl', ['kustomize', folder], { encoding: 'utf8' }))
    .map((document) => document.toJS());
}

// The model of an object's kind and version: kubernetes-models/apps/v1/Deployment, or the
// Prometheus Operator's models for monitoring.coreos.com.
async function modelOf({ apiVersion, kind }) {
  const [group, version] = apiVersion.includes('/') ? apiVersion.split('/') : ['', apiVersion];
  const module = group === 'monitoring.coreos.com'
    ? `@kubernetes-models/prometheus-operator/${group}/${version}/${kind}`
    : `kubernetes-models/${group ? `${group}/` : ''}${version}/${kind}`;
  return { file: fileURLToPath(import.meta.resolve(module)).replace(/\.js$/, '.d.ts'), model: (await import(module))[kind] };
}

// The fields a type declares and their types, read from the models' TypeScript declarations:
// each file declares one interface and imports the interfaces its fields have.
const declared = new Map();
function fieldsOf(file) {
  if (declared.has(file)) return declared.get(file);
  const text = fs.readFileSync(file, 'utf8').replace(/\s*\/\*\*[\s\S]*?\*\//g, '');
  const imports = new Map([...text.matchAll(/import \{ (\w+) \} from "([^"]+)";/g)].map(([, name, from]) =>
    [name, from.startsWith('.') ? path.resolve(path.dirname(file), from).replace(/\.js$/, '.d.ts')
      : fileURLToPath(import.meta.resolve(from, `file://${file}`)).replace(/\.js$/, '.d.ts')]));
  const start = text.search(/export interface \w+( extends [\w, ]+)? \{/);
  let fields = null;
  if (start >= 0) {
    fields = new Map(/extends TypeMeta/.test(text.slice(start, text.indexOf('{', start))) ? [['apiVersion', 'string'], ['kind', 'string']] : []);
    let depth = 0;
    let body = '';
    for (let i = text.indexOf('{', start); i < text.length; i++) {
      depth += text[i] === '{' ? 1 : text[i] === '}' ? -1 : 0;
      if (depth === 0) break;
      body += text[i];
    }
    for (const [, name, type] of body.slice(1).matchAll(/^ {4}"([^"]+)"\??: ([\s\S]*?);\n(?= {4}"|$)/gm)) {
      fields.set(name, { type: type.replace(/\s+/g, ' '), imports });
    }
  }
  declared.set(file, fields);
  return fields;
}

// Every field of a value that its type does not declare, by its path.
function unknownFields(value, file, at = '') {
  const fields = fieldsOf(file);
  if (!fields || value === null || typeof value !== 'object' || Array.isArray(value)) return [];
  return Object.entries(value).flatMap(([name, inner]) => {
    const field = fields.get(name);
    if (!field) return [`${at}.${name}`];
    return unknownIn(inner, field.type, field.imports, `${at}.${name}`);
  });
}

function unknownIn(value, type, imports, at) {
  const array = /^Array<(\w+)>$/.exec(type);
  if (array && Array.isArray(value)) return value.flatMap((item, i) => unknownIn(item, array[1], imports, `${at}[${i}]`));
  const map = /^\{ \[key: string\]: (\w+); \}$/.exec(type);
  if (map && value && typeof value === 'object') {
    return Object.entries(value).flatMap(([key, item]) => unknownIn(item, map[1], imports, `${at}.${key}`));
  }
  return imports.has(type) ? unknownFields(value, imports.get(type), at) : [];
}

test('the base, the example overlay and the monitoring component render, each object valid and known', async () => {
  const component = fs.mkdtempSync(path.join(os.tmpdir(), 'chenggu-kustomize-'));
  fs.writeFileSync(path.join(component, 'kustomization.yaml'), [
    'apiVersion: kustomize.config.k8s.io/v1beta1', 'kind: Kustomization',
    `resources: [${path.relative(component, path.join(root, 'deploy/overlays/example'))}]`,
    `components: [${path.relative(component, path.join(root, 'deploy/kubernetes/monitoring'))}]`, ''].join('\n'));
  for (const folder of [path.join(root, 'deploy/kubernetes'), path.join(root, 'deploy/overlays/example'), component]) {
    const objects = render(folder);
    assert.ok(objects.length >= 5, folder);
    for (const object of objects) {
      const where = `${folder}: ${object.kind} ${object.metadata?.name}`;
      assert.ok(!REMOVED.includes(object.apiVersion), `${where}: ${object.apiVersion} is no longer served`);
      const { file, model } = await modelOf(object);
      assert.doesNotThrow(() => new model(object).validate(), where);
      assert.deepEqual(unknownFields(object, file), [], `${where}: fields its type does not declare`);
    }
  }
  fs.rmSync(component, { recursive: true });
  // The walker itself finds what it should.
  const { file } = await modelOf({ apiVersion: 'apps/v1', kind: 'Deployment' });
  assert.deepEqual(unknownFields({ spec: { template: { spec: { containers: [{ name: 'x', imagePullPolicy: 'Always', bogus: 1 }] } } } }, file),
    ['.spec.template.spec.containers[0].bogus']);
});

test('the rules of this service hold: probes, port, drain, security, resources, copies, image', async () => {
  const objects = render(path.join(root, 'deploy/overlays/example'));
  const of = (kind) => objects.find((o) => o.kind === kind);
  const deployment = of('Deployment');
  const pod = deployment.spec.template.spec;
  const [container] = pod.containers;
  const args = container.args;
  const argument = (name) => args[args.indexOf(name) + 1];
  // The image is this version's; copies, and the autoscaler and budget that keep them.
  const version = execFileSync(chenggu, ['--version'], { encoding: 'utf8' }).trim().split(' ')[1];
  assert.equal(container.image, `chenggu:${version}`);
  assert.ok(deployment.spec.replicas >= 2);
  assert.ok(of('HorizontalPodAutoscaler').spec.minReplicas >= 2);
  assert.equal(of('HorizontalPodAutoscaler').spec.metrics[0].resource.name, 'cpu');
  assert.ok(of('PodDisruptionBudget').spec.maxUnavailable >= 1, 'the budget never blocks every eviction');
  assert.equal(argument('--public-url'), 'https://chenggu.example.org/');
  // The port: the one chenggu listens on, named by the probes, the Service and the policy.
  const port = Number(argument('--port'));
  assert.deepEqual(container.ports.map((p) => [p.name, p.containerPort]), [['http', port]]);
  assert.equal(of('Service').spec.ports[0].targetPort, 'http');
  assert.deepEqual(of('NetworkPolicy').spec.ingress.flatMap((rule) => rule.ports.map((p) => p.port)), [port]);
  // The drain and the in-flight stop (at most 4 s, +1 to spare) fit in the grace period.
  assert.ok(pod.terminationGracePeriodSeconds >= Number(argument('--drain')) + 5);
  // Security: not root, nothing written, nothing gained, every capability dropped.
  assert.equal(pod.securityContext.runAsNonRoot, true);
  assert.equal(pod.securityContext.seccompProfile.type, 'RuntimeDefault');
  assert.equal(container.securityContext.readOnlyRootFilesystem, true);
  assert.equal(container.securityContext.allowPrivilegeEscalation, false);
  assert.deepEqual(container.securityContext.capabilities.drop, ['ALL']);
  for (const kind of ['requests', 'limits']) {
    assert.ok(container.resources[kind].cpu && container.resources[kind].memory, kind);
  }
  // Every probe is a route the server answers with 200 on that port, readiness apart.
  const probes = ['startupProbe', 'livenessProbe', 'readinessProbe'].map((name) => container[name].httpGet);
  assert.ok(probes.every((probe) => probe.port === 'http'));
  assert.notEqual(container.readinessProbe.httpGet.path, container.livenessProbe.httpGet.path);
  // The container's own arguments, on a free port of the loopback.
  const rest = args.filter((_, i) => args[i] !== '--port' && args[i - 1] !== '--port');
  const { child, base } = await startServe(chenggu, '--host', '127.0.0.1', ...rest);
  children.push(child);
  for (const probe of probes) assert.equal((await fetch(`${base}${probe.path}`)).status, 200, probe.path);
});
