// With F7301_RECORD_GENERA=<folder>, every read of what the page handed to
// GeneraArchivo (XML, form number, page HTML, NIT) is also written there, one
// JSON file per read, named by test file and order of reading: running the
// page tests on two builds of the scripts and comparing the two folders shows
// any change in the declarations and page copies they generate. The chance
// part of the form number is fixed while recording (see harness.mjs).
import fs from 'node:fs';
import path from 'node:path';

const FOLDER = process.env.F7301_RECORD_GENERA;
export const RECORDING = Boolean(FOLDER);
let reads = 0;

export function recordGeneraCalls(calls) {
  if (!RECORDING) return calls;
  fs.mkdirSync(FOLDER, { recursive: true });
  const test = path.basename(process.argv[1] ?? 'page', '.test.js');
  reads += 1;
  const name = `${test}-${String(reads).padStart(3, '0')}.json`;
  fs.writeFileSync(path.join(FOLDER, name), JSON.stringify(calls, null, 1));
  return calls;
}
