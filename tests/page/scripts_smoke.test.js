// The form scripts where a literal reading of the form's rules would go wrong:
// amounts the browser writes in exponent form, stale annex sums, a fraction
// of a row, and a reopened declaration whose annex starts empty.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, startServer, openPage, readResource } from './harness.mjs';

const NUMERIC = 'Error:\nLa casilla debe ser numérica y el valor debe ser ingresado sin comas';
const EXEMPT_SALES_PREFIX = 'Error:\nLas ventas exentas consignadas';

let browser;
let server;
before(async () => {
  browser = await launchBrowser();
  server = await startServer();
});
after(async () => {
  await server?.close();
  await browser?.close();
});

async function withForm(url, body) {
  const tab = await openPage(browser, url, { clock: new Date(2011, 2, 5, 10, 20, 30) });
  const { page } = tab;
  const form = {
    page,
    async enter(name, text) {
      await page.fill(`[name="${name}"]`, text);
      await page.keyboard.press('Tab');
      await page.evaluate(() => 0);
    },
    async choose(name, product) {
      await page.focus(`[name="${name}"]`);
      await page.selectOption(`[name="${name}"]`, product);
      await page.keyboard.press('Tab');
      await page.evaluate(() => 0);
    },
    async click(name) {
      await page.evaluate(() => document.activeElement?.blur());
      await page.click(`[name="${name}"]`);
      await page.evaluate(() => 0);
    },
    value: (name) => page.evaluate((n) => document.getElementsByName(n)[0].value, name),
    has: (name) => page.evaluate((n) => document.getElementsByName(n).length === 1, name),
    takeAlerts: () => tab.alerts.splice(0),
    generaCalls: tab.generaCalls,
  };
  try {
    await body(form);
    assert.deepEqual(tab.errors.map(String), [], 'page script errors');
  } finally {
    await tab.close();
  }
}

async function fillHeader(form) {
  await form.enter('c2', '19');
  await form.enter('c3', 'Estacion');
  await form.enter('mes_ini', '3');
  await form.enter('anio_ini', '2011');
}

describe('amounts outside the everyday range', () => {
  test('very small and very large values are written in plain digits', () =>
    withForm(server.blankUrl, async (form) => {
      await form.enter('c6', '0.0000001');
      assert.equal(await form.value('c6'), '0.00');
      await form.enter('c6', '1e-7');
      assert.equal(await form.value('c6'), '0.00');
      await form.enter('c1620', '9999999999.994');
      assert.equal(await form.value('c1620'), '9999999999.99');
      assert.deepEqual(form.takeAlerts(), []);
    }));

  test('a negative amount that rounds to nothing is a plain zero', () =>
    withForm(server.blankUrl, async (form) => {
      await form.enter('c6', '-0.001');
      assert.equal(await form.value('c6'), '0.00');
      assert.deepEqual(form.takeAlerts(), []);
    }));

  test('Infinity is no amount', () =>
    withForm(server.blankUrl, async (form) => {
      await form.enter('c6', 'Infinity');
      assert.deepEqual(form.takeAlerts(), [NUMERIC]);
      assert.equal(await form.value('c6'), '');
      await form.enter('c7', '5');
      assert.equal(await form.value('c13'), '5.00');
    }));
});

describe('annex sums follow every change', () => {
  test('a row emptied again leaves the annex total and the Validar check', () =>
    withForm(server.blankUrl, async (form) => {
      await fillHeader(form);
      for (const [row, gallons] of [[1, '10'], [2, '5']]) {
        await form.enter(`f1${row}c1`, '19');
        await form.enter(`f1${row}c2`, gallons);
        await form.choose(`f1${row}c3`, 'DIESEL');
      }
      assert.equal(await form.value('c1618'), '15.00');
      // Emptied from the end, so that no earlier row is left incomplete.
      await form.choose('f12c3', '');
      await form.enter('f12c2', '');
      await form.enter('f12c1', '');
      assert.equal(await form.value('c1618'), '10.00');
      await form.enter('c36', '15');
      form.takeAlerts();
      await form.click('validar');
      const alerts = form.takeAlerts();
      assert.equal(alerts.length, 1);
      assert.ok(alerts[0].startsWith(EXEMPT_SALES_PREFIX), alerts[0]);
      assert.equal((await form.generaCalls()).length, 0);
    }));
});

describe('adding rows', () => {
  test('a fraction asks for the whole rows below it, and the row count follows', () =>
    withForm(server.blankUrl, async (form) => {
      await form.enter('renglones1', '2.5');
      await form.click('botonanexo1');
      assert.deepEqual(form.takeAlerts(), []);
      assert.ok(await form.has('f15c3'));
      assert.ok(!(await form.has('f16c1')));
      assert.equal(await form.value('trenglon1'), '5');
    }));
});

// A declaration reopened for correction with no annex rows: the page holds
// an empty annex body, sets the annex count to 0 and carries a row count of 13.
function pageWithEmptyAnnex() {
  const blank = readResource(131).toString('latin1');
  const body = /(<tbody id='cuerpo1'>)[\s\S]*?(<\/tbody>)/;
  assert.match(blank, body, 'the blank page has the annex body');
  const page = blank
    .replace(body, "$1\n  <tr></tr>\n\t<script language='JavaScript'> VANEXOSINICIALES[1] = 0; ANEXO[1]=0; </script>\n$2")
    .replace("name='trenglon1' id='trenglon1' value='3'", "name='trenglon1' id='trenglon1' value='13'");
  assert.ok(page.includes("value='13'"), 'the row count was set');
  return server.addPage('sin-anexo.html', Buffer.from(page, 'latin1'));
}

// A declaration reopened for correction: its annex row and the matching
// exempt sales arrive filled in, and no field has been left yet.
function pageWithFilledAnnex() {
  const blank = readResource(131).toString('latin1');
  const page = blank
    .replace(/(name='f11c1' id='f11c1'[^>]*) value=''/, "$1 value='19'")
    .replace(/(name='f11c2' id='f11c2'[^>]*) value=''/, "$1 value='10.00'")
    .replace("<option value='DIESEL'>", "<option value='DIESEL' selected>")
    .replace("name='c36' id='c36'", "name='c36' id='c36' value='10.00'");
  assert.equal((page.match(/value='10.00'/g) ?? []).length, 2, 'the values were put in');
  return server.addPage('con-anexo.html', Buffer.from(page, 'latin1'));
}

describe('a reopened declaration with annex rows', () => {
  test('its exempt sales match the annex without any field being left first', () =>
    withForm(pageWithFilledAnnex(), async (form) => {
      await form.enter('c2', '19');
      await form.enter('c3', 'Estacion');
      await form.enter('mes_ini', '3');
      // The year is typed last and the click on Validar leaves it: no box
      // of the form has been left on this page.
      await form.page.fill('[name="anio_ini"]', '2011');
      await form.click('validar');
      assert.deepEqual(form.takeAlerts(), []);
      const calls = await form.generaCalls();
      assert.equal(calls.length, 1);
      assert.ok(calls[0][0].includes(' <CASILLA ID="36">10.00</CASILLA> '), calls[0][0]);
      assert.ok(calls[0][0].includes(' <CASILLA ID="1618">10.00</CASILLA> '), calls[0][0]);
    }));
});

describe('a reopened declaration without annex rows', () => {
  test('works without rows, numbers added rows from 1 and generates them', () =>
    withForm(pageWithEmptyAnnex(), async (form) => {
      assert.ok(!(await form.has('f11c1')));
      await fillHeader(form);
      await form.enter('c6', '7');
      assert.equal(await form.value('c13'), '7.00');
      await form.enter('renglones1', '2');
      await form.click('botonanexo1');
      assert.ok(await form.has('f11c1'));
      assert.ok(await form.has('f12c3'));
      await form.enter('f11c1', '19');
      await form.enter('f11c2', '4');
      await form.choose('f11c3', 'NAFTA');
      await form.enter('c60', '4');
      form.takeAlerts();
      await form.click('validar');
      assert.deepEqual(form.takeAlerts(), []);
      const calls = await form.generaCalls();
      assert.equal(calls.length, 1);
      const xml = calls[0][0];
      assert.ok(xml.includes(
        ' <CASILLA ID="118"><![CDATA[19]]></CASILLA>  <CASILLA ID="119">4.00</CASILLA>  ' +
          '<CASILLA ID="120"><![CDATA[NAFTA]]></CASILLA>  <CASILLA ID="1618">4.00</CASILLA> '), xml);
    }));
});
