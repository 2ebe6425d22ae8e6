// "Validar" and leaving a box timed in the program itself (Qt WebEngine),
// driven through its DevTools port:
//
//   node bench/validar_bench.mjs <build> [runs] [port] [--profile] [--record <file>]
//
// Each run starts <build>/app/formulario7301 afresh (offscreen, drafts kept
// in a fresh XDG_DATA_HOME), grows the blank form to 500 annex rows, fills
// it, and times inside the page with performance.now():
//  - leaving a grid box (c6) and the gallons cell of row 500, drafts on;
//  - "Validar" from the click up to the call of GeneraArchivo (which the
//    bench stands in for, so that no dialog opens), on the fresh form and
//    once more; of the first, the copy of the page (fields disabled, values
//    written, the body serialised, fields enabled) on its own;
//  - serialising the page body (document.body.innerHTML) right after, the
//    browser's own work the copy of the page cannot do without; the ratio
//    is taken in each run.
// Prints median, fastest and slowest of `runs` (default 5), of the time on
// the page's clock and of the page thread's CPU time (from a DevTools trace,
// the EventDispatch events' thread time): on a machine shared with other
// work the first grows with the load, the second hardly.
// --profile: a CPU profile (DevTools Profiler domain) of the first Validar
// of each run; prints the functions with the most time of their own.
// --profile-leave: the same, of the boxes left in each run.
// --record <file>: writes what the first Validar handed to GeneraArchivo
// (XML, form number, page HTML, NIT) as JSON, to compare builds with.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {
  collectAlerts, connectToForm, evaluate, fillFullForm, leave, median, printTimes, sleep,
  startProgram, stopProgram, waitForForm,
} from './engine.mjs';

const args = process.argv.slice(2);
const flag = (name) => {
  const i = args.indexOf(name);
  return i < 0 ? undefined : args.splice(i, name.startsWith('--profile') ? 1 : 2).slice(1)[0] ?? true;
};
const PROFILE = flag('--profile') !== undefined;
const PROFILE_LEAVE = flag('--profile-leave') !== undefined;
const RECORD = flag('--record');
const BUILD = path.resolve(args[0] ?? 'build');
const RUNS = Number(args[1] ?? 5);
const PORT = Number(args[2] ?? 9320);

// The form number comes from the clock and chance: fixed here, so that the
// recorded outputs of two builds compare.
function fixFormNumber() {
  document.getElementsByName('c1')[0].value = '10203050';
  document.body.getBoundingClientRect();
}

// Presses Validar with GeneraArchivo stood in for; the copy of the page
// (htmldelformulario) is timed on its own as well.
function validar() {
  let reached = null;
  let copy = null;
  const copyPage = window.htmldelformulario;
  window.htmldelformulario = function () {
    const t = performance.now();
    try {
      return copyPage.apply(this, arguments);
    } finally {
      copy = performance.now() - t;
      window.htmldelformulario = copyPage;
    }
  };
  window.external = {
    GeneraArchivo: (...a) => {
      reached = performance.now();
      window.__genera = a.map(String);
    },
  };
  // The program takes a press that hands nothing over for Validar stopped at
  // a problem (and opens its review panel); the stand-in's press is kept from it.
  const button = document.getElementsByName('validar')[0];
  button.addEventListener('click', (e) => e.stopPropagation(), { once: true });
  const t0 = performance.now();
  button.click();
  if (reached === null) throw new Error(`Validar did not reach GeneraArchivo: ${window.__mensajes}`);
  return { ms: reached - t0, copy };
}

// Serialises the body inside an event of its own, so that the trace shows
// its thread time apart.
function serialise() {
  let result = null;
  const root = document.documentElement;
  const listener = () => {
    const t0 = performance.now();
    const html = document.body.innerHTML;
    result = { ms: performance.now() - t0, bytes: html.length };
  };
  root.addEventListener('f7301-serialise', listener);
  root.dispatchEvent(new Event('f7301-serialise'));
  root.removeEventListener('f7301-serialise', listener);
  return result;
}

async function startTrace(client) {
  const events = [];
  client.Tracing.dataCollected(({ value }) => events.push(...value));
  await client.Tracing.start({
    categories: 'devtools.timeline',
    transferMode: 'ReportEvents',
  });
  return async () => {
    const complete = new Promise((r) => client.Tracing.tracingComplete(r));
    await client.Tracing.end();
    await complete;
    return events;
  };
}

// Thread times (ms) of the page's event dispatches of `type`, in order.
function threadTimes(events, type) {
  return events.filter((e) => e.name === 'EventDispatch' && e.args?.data?.type === type)
    .sort((x, y) => x.ts - y.ts).map((e) => (e.tdur ?? NaN) / 1000);
}

// Thread time (ms) of the page's style and layout work between the end of
// the first `from` event dispatch and the first `to` one.
function restyleAfter(events, from, to) {
  const dispatch = (type) => events.filter((e) => e.name === 'EventDispatch' && e.args?.data?.type === type)
    .sort((x, y) => x.ts - y.ts)[0];
  const start = dispatch(from), end = dispatch(to);
  const begin = start.ts + start.dur;
  return events.filter((e) => (e.name === 'UpdateLayoutTree' || e.name === 'Layout') && e.ph === 'X' &&
      e.ts >= begin && e.ts < end.ts)
    .reduce((sum, e) => sum + (e.tdur ?? 0) / 1000, 0);
}

// Self time by function over a CPU profile, largest first.
function selfTimes(profile) {
  const byNode = new Map(profile.nodes.map((n) => [n.id, n]));
  const totals = new Map();
  for (let i = 0; i < profile.samples.length; i++) {
    const { callFrame: f } = byNode.get(profile.samples[i]);
    const key = `${f.functionName || '(anonymous)'} ${path.basename(f.url)}:${f.lineNumber + 1}`;
    totals.set(key, (totals.get(key) ?? 0) + (profile.timeDeltas[i] ?? 0) / 1000);
  }
  return [...totals].sort((a, b) => b[1] - a[1]);
}

async function startProfile(client) {
  await client.Profiler.enable();
  await client.Profiler.setSamplingInterval({ interval: 100 });
  await client.Profiler.start();
}

async function oneRun(run, times, cpu, profiles) {
  const dataHome = fs.mkdtempSync(path.join(os.tmpdir(), 'f7301-validar-bench-'));
  const program = startProgram(BUILD, PORT, dataHome);
  let client;
  try {
    client = await connectToForm(PORT);
    await waitForForm(client);
    await evaluate(client, collectAlerts);
    if ((await evaluate(client, fillFullForm)) !== 1) throw new Error('rows were not added');
    await evaluate(client, fixFormNumber);
    await sleep(1500);  // the draft of the filled form written, the page idle
    if (PROFILE_LEAVE) await startProfile(client);
    let endTrace = await startTrace(client);
    for (let i = 0; i < 3; i++) {
      const amount = i % 2 ? ['7', '7.00'] : ['12.345', '12.35'];
      times.grid.push(await evaluate(client, leave, ['c6', ...amount]));
      await sleep(100);
      times.annex.push(await evaluate(client, leave, ['f1500c2', ...amount]));
      await sleep(100);
    }
    let events = await endTrace();
    // Leaving a box is its change and blur events, grid and annex in turn.
    const changes = threadTimes(events, 'change'), blurs = threadTimes(events, 'blur');
    changes.forEach((ms, i) => cpu[i % 2 ? 'annex' : 'grid'].push(ms + blurs[i]));
    if (PROFILE_LEAVE) profiles.push((await client.Profiler.stop()).profile);
    await evaluate(client, leave, ['c6', '', '']);
    await evaluate(client, leave, ['f1500c2', '1', '1.00']);
    await sleep(1500);
    if (PROFILE) await startProfile(client);
    endTrace = await startTrace(client);
    const { ms: first, copy } = await evaluate(client, validar);
    if (PROFILE) profiles.push((await client.Profiler.stop()).profile);
    if (RECORD && run === 0) {
      fs.writeFileSync(RECORD, JSON.stringify(await evaluate(client, () => window.__genera)));
    }
    await sleep(300);  // the page restyled and laid out after Validar, if it must be
    const bodies = [];
    for (let i = 0; i < 3; i++) bodies.push(await evaluate(client, serialise));
    const body = median(bodies.map((b) => b.ms));
    await sleep(300);
    const { ms: again } = await evaluate(client, validar);
    events = await endTrace();
    const [cpuFirst, cpuAgain] = threadTimes(events, 'click');
    const cpuBody = median(threadTimes(events, 'f7301-serialise'));
    cpu.restyle.push(restyleAfter(events, 'click', 'f7301-serialise'));
    cpu.validar.push(cpuFirst);
    cpu.again.push(cpuAgain);
    cpu.body.push(cpuBody);
    cpu.ratio.push(cpuFirst / cpuBody);
    times.validar.push(first);
    times.copy.push(copy);
    times.checks.push(first - copy);
    times.again.push(again);
    times.body.push(body);
    times.ratio.push(first / body);
    times.bytes = bodies[0].bytes;
    const shown = await evaluate(client, () => window.__mensajes);
    if (shown.length) throw new Error(`the page showed messages: ${JSON.stringify(shown)}`);
  } finally {
    await client?.close();
    await stopProgram(program);
    fs.rmSync(dataHome, { recursive: true, force: true });
  }
}

async function main() {
  const times = { grid: [], annex: [], validar: [], copy: [], checks: [], again: [], body: [], ratio: [] };
  const cpu = { grid: [], annex: [], validar: [], again: [], body: [], ratio: [], restyle: [] };
  const profiles = [];
  for (let run = 0; run < RUNS; run++) await oneRun(run, times, cpu, profiles);
  printTimes(`the program's Qt WebEngine, 500 annex rows, ${RUNS} runs, milliseconds`, [
    ['leaving a grid box, keeping drafts (3 a run)', times.grid],
    ['leaving annex cell 500, keeping drafts (3 a run)', times.annex],
    ['Validar up to GeneraArchivo, fresh form', times.validar],
    ['- of which the copy of the page (htmldelformulario)', times.copy],
    ['- of which the checks and the XML', times.checks],
    ['Validar again', times.again],
    [`serialising the page body (${times.bytes} characters)`, times.body],
    ['ratio Validar / serialisation, same run', times.ratio],
  ]);
  printTimes('\nthe page thread\'s CPU time, milliseconds', [
    ['leaving a grid box, keeping drafts (change and blur)', cpu.grid],
    ['leaving annex cell 500, keeping drafts (change and blur)', cpu.annex],
    ['Validar (its click), fresh form', cpu.validar],
    ['Validar again', cpu.again],
    ['after the first Validar, restyling and laying out the page', cpu.restyle],
    ['serialising the page body', cpu.body],
    ['ratio Validar / serialisation, same run', cpu.ratio],
  ]);
  if (profiles.length) {
    const merged = new Map();
    for (const p of profiles) for (const [k, ms] of selfTimes(p)) merged.set(k, (merged.get(k) ?? 0) + ms);
    console.log(`\nself time over ${profiles.length} profiles, ms (sum):`);
    for (const [k, ms] of [...merged].sort((a, b) => b[1] - a[1]).slice(0, 25)) {
      console.log(`${ms.toFixed(1).padStart(8)}  ${k}`);
    }
  }
}

await main();
