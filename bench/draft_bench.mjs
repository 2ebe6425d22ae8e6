// Draft keeping timed in the program itself (Qt WebEngine), driven through
// its DevTools port with chrome-remote-interface:
//
//   node bench/draft_bench.mjs <build> [runs] [port]
//
// Starts <build>/app/formulario7301 offscreen with
// QTWEBENGINE_REMOTE_DEBUGGING=127.0.0.1:<port> (default 9310) and a fresh
// XDG_DATA_HOME, grows the blank form to 500 annex rows, fills it and times,
// inside the page with performance.now(), with draft keeping on:
//  - leaving a grid box (c6) and the gallons cell of row 500 (the check,
//    the recomputation and the report of the change to the program);
//  - taking the page's record for the draft (what runs on the page when
//    the draft is written);
// and, from outside, the time from leaving a box until the draft file holds
// the new value. Prints median, fastest and slowest of `runs` (default 7).
// Recovering a draft is timed by bench/app/draft_recovery_bench, which can
// answer the start-up question.
//
// The page's alerts are Qt message boxes that would hold every DevTools
// evaluation until answered, so the bench replaces window.alert and fails
// on any message the page shows.
import CDP from 'chrome-remote-interface';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const BUILD = path.resolve(process.argv[2] ?? 'build');
const RUNS = Number(process.argv[3] ?? 7);
const PORT = Number(process.argv[4] ?? 9310);

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};

function startProgram(dataHome) {
  return spawn(path.join(BUILD, 'app/formulario7301'), [], {
    env: {
      ...process.env,
      QT_QPA_PLATFORM: 'offscreen',
      QTWEBENGINE_DISABLE_SANDBOX: '1',
      QTWEBENGINE_CHROMIUM_FLAGS: '--disable-gpu',
      QTWEBENGINE_REMOTE_DEBUGGING: `127.0.0.1:${PORT}`,
      XDG_DATA_HOME: dataHome,
    },
    stdio: 'ignore',
  });
}

async function connectToForm() {
  for (let i = 0; i < 300; i++) {
    try {
      const targets = await CDP.List({ host: '127.0.0.1', port: PORT });
      const form = targets.find((t) => t.type === 'page' && t.url.startsWith('res://'));
      if (form) return await CDP({ host: '127.0.0.1', port: PORT, target: form });
    } catch {
      // not listening yet
    }
    await sleep(200);
  }
  throw new Error('the program did not open its DevTools port');
}

async function evaluate(client, fn, arg) {
  const expression = `(${fn})(${JSON.stringify(arg ?? null)})`;
  const { result, exceptionDetails } = await client.Runtime.evaluate({
    expression, awaitPromise: true, returnByValue: true,
  });
  if (exceptionDetails) throw new Error(JSON.stringify(exceptionDetails));
  return result.value;
}

// The page's messages are collected instead of shown (see above).
function collectAlerts() {
  window.__mensajes = [];
  window.alert = (m) => window.__mensajes.push(String(m));
  return typeof borradorformulario === 'function';
}

// The blank form grown to 500 rows and filled as typed (each value with the
// change event a person's typing gives).
function fillFullForm() {
  const C = document.forms.C;
  C.renglones1.value = '497';
  C.botonanexo1.click();
  const set = (name, value) => {
    const f = document.getElementsByName(name)[0];
    f.value = value;
    f.dispatchEvent(new Event('change', { bubbles: true }));
  };
  set('c2', '19');
  set('c3', 'ESTACION EL SOL');
  set('mes_ini', '01');
  set('anio_ini', String(new Date().getFullYear()));
  for (let row = 1; row <= 500; row++) {
    set(`f1${row}c1`, '19');
    set(`f1${row}c2`, '1.00');
    set(`f1${row}c3`, 'DIESEL');
  }
  set('c36', '500.00');
  return document.getElementsByName('f1500c3').length;
}

// Leaves `name` after typing `text`, as a person does: input, change, blur.
function leave([name, text, expected]) {
  const box = document.getElementsByName(name)[0];
  box.value = text;
  box.dispatchEvent(new Event('input', { bubbles: true }));
  const t0 = performance.now();
  box.dispatchEvent(new Event('change', { bubbles: true }));
  box.dispatchEvent(new Event('blur'));
  const ms = performance.now() - t0;
  if (box.value !== expected) throw new Error(`${name} shows "${box.value}", not "${expected}"`);
  return ms;
}

function takeRecord() {
  const t0 = performance.now();
  const text = JSON.stringify(borradorformulario());
  return { ms: performance.now() - t0, bytes: text.length };
}

function draftHolds(folder, text) {
  for (const name of fs.readdirSync(folder)) {
    if (!/^borrador-.*\.json$/.test(name)) continue;
    try {
      if (fs.readFileSync(path.join(folder, name), 'utf8').includes(text)) return true;
    } catch {
      // being replaced
    }
  }
  return false;
}

async function main() {
  const dataHome = fs.mkdtempSync(path.join(os.tmpdir(), 'f7301-draft-bench-'));
  const folder = path.join(dataHome, 'Formulario7301');
  const program = startProgram(dataHome);
  const times = { grid: [], annex: [], record: [], written: [] };
  let client;
  try {
    client = await connectToForm();
    await client.Runtime.enable();
    for (let i = 0; !(await evaluate(client, () => document.readyState === 'complete' &&
        typeof borradorformulario === 'function')); i++) {
      if (i > 200) throw new Error('the form page did not load');
      await sleep(50);
    }
    if (!(await evaluate(client, collectAlerts))) throw new Error('no draft keeping on the page');
    if ((await evaluate(client, fillFullForm)) !== 1) throw new Error('rows were not added');
    for (let run = 0; run < RUNS; run++) {
      const amount = run % 2 ? ['7', '7.00'] : ['12.345', '12.35'];
      times.grid.push(await evaluate(client, leave, ['c6', ...amount]));
      // The draft holding the new value, from the moment the box was left.
      const marker = `"c7":"${run + 1}.00"`;
      const left = Date.now();
      await evaluate(client, leave, ['c7', String(run + 1), `${run + 1}.00`]);
      while (!draftHolds(folder, marker)) {
        if (Date.now() - left > 10000) throw new Error('the draft was not written');
        await sleep(5);
      }
      times.written.push(Date.now() - left);
      times.annex.push(await evaluate(client, leave, ['f1500c2', ...amount]));
      const { ms } = await evaluate(client, takeRecord);
      times.record.push(ms);
    }
    const shown = await evaluate(client, () => window.__mensajes);
    if (shown.length) throw new Error(`the page showed messages: ${JSON.stringify(shown)}`);
  } finally {
    await client?.close();
    program.kill('SIGTERM');
    fs.rmSync(dataHome, { recursive: true, force: true });
  }
  const rows = [
    ['leaving a grid box (500 annex rows), keeping drafts', times.grid],
    ['leaving annex cell 500 (499 rows before it), keeping drafts', times.annex],
    ['taking the 500-row record for the draft (on the page)', times.record],
    ['from leaving a box to the draft file holding it', times.written],
  ];
  console.log(`draft keeping in the program's Qt WebEngine, ${RUNS} runs, milliseconds`);
  console.log('| action | median | fastest | slowest |');
  console.log('|---|---|---|---|');
  for (const [label, xs] of rows) {
    const f = (x) => x.toFixed(1);
    console.log(`| ${label} | ${f(median(xs))} | ${f(Math.min(...xs))} | ${f(Math.max(...xs))} |`);
  }
}

await main();
