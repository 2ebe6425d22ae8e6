// Timings of the form scripts in Chromium on a full annex (500 rows).
//
//   F7301_PAGE_DIR=$PWD/<build>/page node bench/page_bench.mjs [runs]
//
// Each figure is measured inside the page with performance.now() around the
// handler the user's action runs, so the browser driver's own round trips are
// not counted. Prints the median, fastest and slowest of `runs` (default 9).
import { launchBrowser, startServer, openPage } from '../tests/page/harness.mjs';
import { printTimes } from './engine.mjs';

const RUNS = Number(process.argv[2] ?? 9);

// Adds 497 rows to the blank page with the add-rows button; returns the time
// the click handler took.
function addRowsInPage() {
  const C = document.forms.C;
  C.renglones1.value = '497';
  const t0 = performance.now();
  C.botonanexo1.click();
  const ms = performance.now() - t0;
  if (!document.getElementsByName('f1500c3').length) throw new Error('rows were not added');
  return ms;
}

// Fills the taxpayer, the period (January of the running year: the page
// clock is not fixed here, a fixed clock would also fix performance.now()), all 500 annex rows (1 gallon of DIESEL each)
// and the matching diesel exempt sales, the way the fields would hold them
// after being typed.
function fillValidForm() {
  const C = document.forms.C;
  const set = (name, value) => (document.getElementsByName(name)[0].value = value);
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
}

// Leaves `name` after typing `text` into it; returns the blur handler's time.
function leave([name, text, expected]) {
  const box = document.getElementsByName(name)[0];
  box.focus();
  box.value = text;
  const t0 = performance.now();
  box.blur();
  const ms = performance.now() - t0;
  if (box.value !== expected) throw new Error(`${name} shows "${box.value}", not "${expected}"`);
  return ms;
}

// Presses Validar; returns the time until the page calls GeneraArchivo.
function validar() {
  let reached = null;
  window.external.GeneraArchivo = () => (reached = performance.now());
  const t0 = performance.now();
  document.getElementsByName('validar')[0].click();
  if (reached === null) throw new Error('Validar did not reach GeneraArchivo');
  return reached - t0;
}

async function main() {
  const browser = await launchBrowser();
  const server = await startServer();
  const times = { grid: [], annex: [], add: [], validar: [] };
  try {
    for (let run = 0; run < RUNS; run++) {
      const { page, alerts, errors, close } = await openPage(browser, server.blankUrl);
      times.add.push(await page.evaluate(addRowsInPage));
      await page.evaluate(fillValidForm);
      // Alternate the values so every run changes the form.
      const amount = run % 2 ? ['7', '7.00'] : ['12.345', '12.35'];
      times.grid.push(await page.evaluate(leave, ['c6', ...amount]));
      times.annex.push(await page.evaluate(leave, ['f1500c2', ...amount]));
      await page.evaluate(leave, ['f1500c2', '1', '1.00']);
      times.validar.push(await page.evaluate(validar));
      if (alerts.length || errors.length) {
        throw new Error(`unexpected alerts ${JSON.stringify(alerts)} or errors ${errors}`);
      }
      await close();
    }
  } finally {
    await server.close();
    await browser.close();
  }
  const rows = [
    ['leaving a grid box (500 annex rows)', times.grid],
    ['leaving annex cell 500 (499 rows before it)', times.annex],
    ['adding 497 rows to the blank page', times.add],
    ['Validar up to GeneraArchivo (500 rows)', times.validar],
  ];
  printTimes(`page scripts in Chromium, ${RUNS} runs, milliseconds`, rows);
}

await main();
