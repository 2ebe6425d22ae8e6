// Starts the installed program (/usr/bin/formulario7301) offscreen, as the
// Debian package put it there, and waits until its form page has loaded:
// the page, its style sheet and its scripts all come from inside the program.
// Usage: node tests/package/installed_program.mjs [PROGRAM]
import { spawn } from 'node:child_process';
import CDP from 'chrome-remote-interface';

const program = process.argv[2] ?? '/usr/bin/formulario7301';
const port = 9351;
const limitMs = 90000;

const child = spawn(program, [], {
  stdio: ['ignore', 'inherit', 'inherit'],
  env: {
    ...process.env,
    QT_QPA_PLATFORM: 'offscreen',
    QTWEBENGINE_DISABLE_SANDBOX: '1',
    QTWEBENGINE_CHROMIUM_FLAGS: '--disable-gpu',
    QTWEBENGINE_REMOTE_DEBUGGING: `127.0.0.1:${port}`,
    LANG: 'C.UTF-8', // an English desktop: the program must speak Spanish anyway
    LANGUAGE: 'en',
  },
});
let exited = null;
child.on('exit', (code, signal) => { exited = signal ?? code; });

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// What the loaded form must hold, evaluated in the page.
const formCheck = `(() => ({
  url: location.href,
  ready: document.readyState,
  nit: !!document.getElementsByName('c2')[0],
  validar: [...document.querySelectorAll('input[type=button]')].some(b => b.value.trim() === 'Validar'),
  scripts: typeof genera === 'function',
  styled: document.styleSheets.length > 0,
  language: navigator.language,
}))()`;

async function pageState() {
  const targets = await CDP.List({ host: '127.0.0.1', port });
  const page = targets.find((t) => t.type === 'page' && t.url.startsWith('res://'));
  if (!page) return null;
  const client = await CDP({ host: '127.0.0.1', port, target: page });
  try {
    const { result } = await client.Runtime.evaluate({ expression: formCheck, returnByValue: true });
    return result.value;
  } finally {
    await client.close();
  }
}

let state = null;
const start = Date.now();
try {
  while (Date.now() - start < limitMs && exited === null) {
    state = await pageState().catch(() => null);
    if (state && state.ready === 'complete' && state.nit && state.validar && state.scripts) break;
    await sleep(500);
  }
} finally {
  child.kill('SIGTERM');
}

const ok = state && state.ready === 'complete' && state.nit && state.validar && state.scripts &&
  state.styled && state.language === 'es';
console.log(`installed program: ${JSON.stringify(state)}, ${((Date.now() - start) / 1000).toFixed(1)} s` +
  (exited !== null ? `, exited early (${exited})` : ''));
if (!ok) {
  console.error('the installed program did not show its form page');
  process.exit(1);
}
console.log('the installed program shows its form page');
