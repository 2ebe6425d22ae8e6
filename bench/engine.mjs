// The program itself (Qt WebEngine) driven through its DevTools port with
// chrome-remote-interface, for the benchmarks that time the form where the
// user feels it. Playwright's connectOverCDP does not work with this engine.
// The table of figures is shared with the benchmark in plain Chromium.
import CDP from 'chrome-remote-interface';
import { spawn } from 'node:child_process';
import path from 'node:path';

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

export function median(xs) {
  const s = [...xs].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
}

// Prints `title` and, for each [label, times] of `rows`, the median, fastest
// and slowest of the times, in milliseconds.
export function printTimes(title, rows) {
  const f = (x) => x.toFixed(1);
  console.log(title);
  console.log('| action | median | fastest | slowest |');
  console.log('|---|---|---|---|');
  for (const [label, xs] of rows) {
    console.log(`| ${label} | ${f(median(xs))} | ${f(Math.min(...xs))} | ${f(Math.max(...xs))} |`);
  }
}

// Starts <build>/app/formulario7301 offscreen, listening for DevTools on
// 127.0.0.1:<port>, with its drafts in `dataHome`.
export function startProgram(build, port, dataHome) {
  return spawn(path.join(build, 'app/formulario7301'), [], {
    env: {
      ...process.env,
      QT_QPA_PLATFORM: 'offscreen',
      QTWEBENGINE_DISABLE_SANDBOX: '1',
      QTWEBENGINE_CHROMIUM_FLAGS: '--disable-gpu',
      QTWEBENGINE_REMOTE_DEBUGGING: `127.0.0.1:${port}`,
      XDG_DATA_HOME: dataHome,
    },
    stdio: 'ignore',
  });
}

// Ends the program as logging out does and waits until it has: on SIGTERM it
// writes its draft first, and a data home removed before that would leave it
// showing the failure to a screen no one sees, never ending.
export async function stopProgram(program) {
  const over = program.exitCode !== null || program.signalCode !== null;
  const ended = new Promise((r) => (over ? r() : program.once('exit', r)));
  program.kill('SIGTERM');
  await ended;
}

// A DevTools client on the form page once the program listens.
export async function connectToForm(port) {
  for (let i = 0; i < 300; i++) {
    try {
      const targets = await CDP.List({ host: '127.0.0.1', port });
      const form = targets.find((t) => t.type === 'page' && t.url.startsWith('res://'));
      if (form) return await CDP({ host: '127.0.0.1', port, target: form });
    } catch {
      // not listening yet
    }
    await sleep(200);
  }
  throw new Error('the program did not open its DevTools port');
}

// Runs `fn(arg)` in the page and returns its value; a throw in the page
// throws here.
export async function evaluate(client, fn, arg) {
  const expression = `(${fn})(${JSON.stringify(arg ?? null)})`;
  const { result, exceptionDetails } = await client.Runtime.evaluate({
    expression, awaitPromise: true, returnByValue: true,
  });
  if (exceptionDetails) throw new Error(JSON.stringify(exceptionDetails));
  return result.value;
}

// Waits for the blank form with its scripts and the program's draft keeping.
export async function waitForForm(client) {
  await client.Runtime.enable();
  for (let i = 0; !(await evaluate(client, () => document.readyState === 'complete' &&
      typeof borradorformulario === 'function')); i++) {
    if (i > 200) throw new Error('the form page did not load');
    await sleep(50);
  }
}

// The page's alerts are Qt message boxes that would hold every DevTools
// evaluation until answered: they are collected instead, to fail the run on.
export function collectAlerts() {
  window.__mensajes = [];
  window.alert = (m) => window.__mensajes.push(String(m));
}

// The functions below run in the page (passed to `evaluate`).

// The blank form grown to 500 rows and filled as typed (each value with the
// change event a person's typing gives): 1 gallon of DIESEL a row, the
// diesel exempt sales to match, January of the running year.
export function fillFullForm() {
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
  C.anio_ini.focus();
  C.anio_ini.blur();
  for (let row = 1; row <= 500; row++) {
    set(`f1${row}c1`, '19');
    set(`f1${row}c2`, '1.00');
    set(`f1${row}c3`, 'DIESEL');
  }
  set('c36', '500.00');
  return document.getElementsByName('f1500c3').length;
}

// Leaves `name` after typing `text`, as a person does: input, change, blur.
// Returns the time the page took, from the change on.
export function leave([name, text, expected]) {
  const box = document.getElementsByName(name)[0];
  box.focus();
  box.value = text;
  box.dispatchEvent(new Event('input', { bubbles: true }));
  const t0 = performance.now();
  box.dispatchEvent(new Event('change', { bubbles: true }));
  box.blur();
  const ms = performance.now() - t0;
  if (box.value !== expected) throw new Error(`${name} shows "${box.value}", not "${expected}"`);
  return ms;
}
