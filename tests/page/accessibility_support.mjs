// Shared pieces of the accessibility tests: axe-core run inside a page, the
// browser's accessibility tree, and stored declarations reopened as pages.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { PAGE_DIR } from './harness.mjs';

const require = createRequire(import.meta.url);
export const AXE_SCRIPT = require.resolve('axe-core/axe.min.js');

const TOOL = process.env.F7301_DECLARACION ?? path.join(PAGE_DIR, '..', 'tools', 'declaracion');

// axe-core's findings on the page now shown in `page`, each as
// { id, impact, count, targets } (the first targets only).
export async function axeFindings(page) {
  if (!(await page.evaluate(() => typeof window.axe === 'object'))) {
    await page.addScriptTag({ path: AXE_SCRIPT });
  }
  return page.evaluate(async () => {
    const result = await window.axe.run(document, { resultTypes: ['violations'] });
    return result.violations.map((v) => ({
      id: v.id,
      impact: v.impact,
      count: v.nodes.length,
      targets: v.nodes.slice(0, 5).map((n) => n.target.join(' ')),
    }));
  });
}

// The browser's accessibility tree, as Chromium gives it to screen readers:
// for each DOM node id, the role and name of its accessible object.
export async function accessibleNames(page) {
  const cdp = await page.context().newCDPSession(page);
  try {
    await cdp.send('Accessibility.enable');
    const { nodes } = await cdp.send('Accessibility.getFullAXTree');
    const { root } = await cdp.send('DOM.getDocument', { depth: -1 });
    // The DOM id (the element's id attribute) of each backend node.
    const idOf = new Map();
    const walk = (node) => {
      const attrs = node.attributes ?? [];
      const at = attrs.indexOf('id');
      if (at >= 0 && at % 2 === 0) idOf.set(node.backendNodeId, attrs[at + 1]);
      for (const child of node.children ?? []) walk(child);
    };
    walk(root);
    const byId = new Map();
    const all = [];
    for (const n of nodes) {
      if (n.ignored) continue;
      const entry = {
        role: n.role?.value,
        name: n.name?.value ?? '',
        invalid: n.properties?.find((p) => p.name === 'invalid')?.value?.value,
        level: n.properties?.find((p) => p.name === 'level')?.value?.value,
      };
      all.push(entry);
      const id = idOf.get(n.backendDOMNodeId);
      if (id) byId.set(id, entry);
    }
    return { byId, all };
  } finally {
    await cdp.detach();
  }
}

// A declaration XML written as the form page writes it, with `rows` annex
// rows; every text is ASCII.
export function declarationXml({ rows = 0, fine = '100.00' } = {}) {
  const box = (id, value) => ` <CASILLA ID="${id}">${value}</CASILLA> `;
  const text = (id, value) => ` <CASILLA ID="${id}"><![CDATA[${value}]]></CASILLA> `;
  let xml = ' <FORMULARIO NUMERO="10203045">  <SOURCE>VELAROPC</SOURCE>  <REALSOURCE>VELAROLIGHT</REALSOURCE> ' +
    ' <VERSION>2.0</VERSION>  <CODIGO_FORMULARIO>730</CODIGO_FORMULARIO>  <NUMERO_VERSION>1</NUMERO_VERSION> ' +
    ' <ID_CAMBIO>2.2</ID_CAMBIO>  <NIT>12345679</NIT>  <PERIODO_DESDE>20110301</PERIODO_DESDE> ' +
    ' <PERIODO_HASTA>20110331</PERIODO_HASTA>  <ANEXOS>0</ANEXOS> ' +
    ' <NOMBRE><![CDATA[ESTACION EL SOL]]></NOMBRE>  <DIRECCION></DIRECCION>  <CONTADOR>0</CONTADOR> ' +
    ' <CASILLAS> ';
  const diesel = rows.toFixed(2);
  const grid = { 30: (1000 + rows).toFixed(2), 36: diesel, 37: '1000.00', 110: (1000 + rows).toFixed(2), 116: diesel, 117: '1000.00' };
  for (let id = 6; id <= 117; id++) xml += box(id, grid[id] ?? '0');
  for (let row = 1; row <= rows; row++) {
    const first = 118 + 3 * (row - 1);
    xml += text(first, '19') + box(first + 1, '1.00') + text(first + 2, 'DIESEL');
  }
  xml += box(1618, diesel) + box(1619, '0') + box(1620, fine) + box(1621, fine);
  xml += '<CASILLA ID="FECPRE">05/03/2011</CASILLA><CASILLA ID="LUGPRE">----------</CASILLA>';
  xml += ` </CASILLAS>  <MONTO>${fine}</MONTO>  </FORMULARIO> `;
  return xml;
}

// The page that reopening a sealed `xml` shows ('editable' or 'readonly'),
// as Windows-1252 bytes, made by the program's own tool.
export function reopenedPage(xml, kind) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'f7301-a11y-'));
  try {
    const xmlFile = path.join(dir, 'declaracion.xml');
    const sealed = path.join(dir, 'RTQ-sample');
    fs.writeFileSync(xmlFile, Buffer.from(xml, 'latin1'));
    execFileSync(TOOL, ['seal', xmlFile, sealed]);
    return execFileSync(TOOL, ['page', kind, sealed], { maxBuffer: 8 << 20 });
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}
