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
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {
  collectAlerts, connectToForm, evaluate, fillFullForm, leave, printTimes, sleep, startProgram,
  stopProgram, waitForForm,
} from './engine.mjs';

const BUILD = path.resolve(process.argv[2] ?? 'build');
const RUNS = Number(process.argv[3] ?? 7);
const PORT = Number(process.argv[4] ?? 9310);

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
  const program = startProgram(BUILD, PORT, dataHome);
  const times = { grid: [], annex: [], record: [], written: [] };
  let client;
  try {
    client = await connectToForm(PORT);
    await waitForForm(client);
    await evaluate(client, collectAlerts);
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
    await stopProgram(program);
    fs.rmSync(dataHome, { recursive: true, force: true });
  }
  const rows = [
    ['leaving a grid box (500 annex rows), keeping drafts', times.grid],
    ['leaving annex cell 500 (499 rows before it), keeping drafts', times.annex],
    ['taking the 500-row record for the draft (on the page)', times.record],
    ['from leaving a box to the draft file holding it', times.written],
  ];
  printTimes(`draft keeping in the program's Qt WebEngine, ${RUNS} runs, milliseconds`, rows);
}

await main();
