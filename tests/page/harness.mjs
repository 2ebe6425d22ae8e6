// Shared set-up of the page tests: Debian's Chromium driven by playwright-core,
// and a loopback server that serves the built page resources (<build>/page).
//
// The pages address their style sheet and scripts as
// "res://Formulario7301.exe/#23/#132" and so on; a browser outside the program
// cannot load res: addresses, so the server rewrites exactly those addresses
// to its own "/res/132" while serving a page. Nothing else is changed.
import { chromium } from 'playwright-core';
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { recordGeneraCalls, RECORDING } from './genera_record.mjs';

export const PAGE_DIR = process.env.F7301_PAGE_DIR ?? path.resolve('build/page');

const CONTENT_TYPES = {
  html: 'text/html; charset=windows-1252',
  css: 'text/css; charset=windows-1252',
  js: 'text/javascript; charset=utf-8',
};

const RES_ADDRESS = /res:\/\/Formulario7301\.exe\/#23\/#(13[1-6])/gi;

// Rewrites the res: addresses of a page (a latin1 string of its bytes).
export function rewriteResAddresses(latin1Text) {
  return latin1Text.replace(RES_ADDRESS, '/res/$1');
}

function resourceFile(number) {
  const name = fs.readdirSync(PAGE_DIR).find((f) => f.startsWith(`${number}.`));
  if (!name) throw new Error(`resource ${number} is not in ${PAGE_DIR}; build first`);
  return path.join(PAGE_DIR, name);
}

// Reads resource `number` (131..136) as bytes.
export function readResource(number) {
  return fs.readFileSync(resourceFile(number));
}

function send(res, type, bytes) {
  res.writeHead(200, { 'Content-Type': type, 'Cache-Control': 'no-store' });
  res.end(bytes);
}

// Serves /res/131 .. /res/136 from PAGE_DIR, and /page/<name> from pages
// registered with `server.addPage(name, bytes)` (Windows-1252 HTML).
export async function startServer() {
  const pages = new Map();
  const server = http.createServer((req, res) => {
    const url = new URL(req.url, 'http://127.0.0.1');
    let m = url.pathname.match(/^\/res\/(13[1-6])$/);
    if (m) {
      const file = resourceFile(m[1]);
      const ext = path.extname(file).slice(1);
      let bytes = fs.readFileSync(file);
      if (ext === 'html') bytes = Buffer.from(rewriteResAddresses(bytes.toString('latin1')), 'latin1');
      return send(res, CONTENT_TYPES[ext], bytes);
    }
    m = url.pathname.match(/^\/page\/(.+)$/);
    if (m && pages.has(m[1])) {
      const bytes = Buffer.from(rewriteResAddresses(pages.get(m[1]).toString('latin1')), 'latin1');
      return send(res, CONTENT_TYPES.html, bytes);
    }
    res.writeHead(404).end();
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const base = `http://127.0.0.1:${server.address().port}`;
  return {
    base,
    blankUrl: `${base}/res/131`,
    addPage(name, bytes) {
      pages.set(name, Buffer.isBuffer(bytes) ? bytes : Buffer.from(bytes, 'latin1'));
      return `${base}/page/${name}`;
    },
    close: () => new Promise((resolve) => server.close(resolve)),
  };
}

// Playwright gives every launched browser a fresh profile directory of its
// own and removes it on close (it refuses a --user-data-dir argument).
export async function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
    ],
  });
}

// Opens `url` in a fresh page with the program's stand-ins installed:
//  - every alert (and confirm/prompt) is recorded in `alerts` and accepted;
//  - window.external.GeneraArchivo records its arguments (read them with
//    `generaCalls()`);
//  - with `clock` (a Date or time in ms), the page's clock starts there;
//  - with `chance` (from 0 to 1), Math.random always gives it.
export async function openPage(browser, url, { clock, chance } = {}) {
  const context = await browser.newContext();
  const page = await context.newPage();
  const alerts = [];
  page.on('dialog', async (dialog) => {
    alerts.push(dialog.message());
    await dialog.accept();
  });
  const errors = [];
  page.on('pageerror', (err) => errors.push(err));
  if (clock !== undefined) await page.clock.install({ time: clock });
  // Recording for a comparison of two builds: the form number's chance part fixed.
  if (RECORDING && chance === undefined) chance = 0.5;
  if (chance !== undefined) await page.addInitScript((c) => { Math.random = () => c; }, chance);
  await page.addInitScript(() => {
    window.__generaCalls = [];
    window.external.GeneraArchivo = (...args) => {
      window.__generaCalls.push(args.map(String));
    };
  });
  await page.goto(url);
  return {
    page,
    alerts,
    errors,
    generaCalls: async () => recordGeneraCalls(await page.evaluate(() => window.__generaCalls)),
    close: () => context.close(),
  };
}
