// The form as a screen reader and the keyboard meet it: axe-core on the blank,
// editable and read-only pages, the names the browser gives the fields, the
// mark on a refused value, and a declaration filled with the keyboard alone.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { openPage } from './harness.mjs';
import { MARCH_5_2011, MSG, useBrowser, onForm, addRows } from './scripts_support.mjs';
import { axeFindings, accessibleNames, declarationXml, reopenedPage } from './accessibility_support.mjs';

const env = useBrowser();

// Findings a person using a screen reader would meet; axe's minor ones
// (best practices) are listed too, so that none creeps in unseen.
const findingsOf = (findings) => findings.map((f) => `${f.impact} ${f.id}: ${f.targets.join(', ')}`);

async function openReopened(kind, rows) {
  const url = env.server.addPage(`${kind}-${rows}`, reopenedPage(declarationXml({ rows }), kind));
  return openPage(env.browser, url, { clock: MARCH_5_2011 });
}

describe('axe-core finds nothing', () => {
  test('on the blank page', () =>
    onForm(env, async (form) => {
      assert.deepEqual(findingsOf(await axeFindings(form.page)), []);
    }));

  test('on the blank page after the scripts added 497 rows', () =>
    onForm(env, async (form) => {
      await addRows(form, 497);
      assert.deepEqual(await form.takeAlerts(), []);
      assert.equal(await form.page.locator('[name="f1500c3"]').count(), 1);
      assert.deepEqual(findingsOf(await axeFindings(form.page)), []);
    }));

  for (const kind of ['editable', 'readonly']) {
    test(`on the ${kind} page of a declaration of 500 annex rows`, async () => {
      const view = await openReopened(kind, 500);
      try {
        assert.deepEqual(view.errors.map(String), []);
        const rows = await view.page.evaluate(() => document.getElementById('cuerpo1').rows.length);
        assert.equal(rows, 501, 'the empty first row and 500 annex rows');
        assert.deepEqual(findingsOf(await axeFindings(view.page)), []);
      } finally {
        await view.close();
      }
    });
  }
});

describe('names in the accessibility tree', () => {
  test('grid, period, identity, settlement and annex fields of the blank page', () =>
    onForm(env, async (form) => {
      // Rows 4 to 12 come from the add-rows script, rows 1 to 3 from the page.
      await addRows(form, 9);
      const { byId } = await accessibleNames(form.page);
      const expected = {
        c2: ['textbox', 'NIT del contribuyente'],
        c3: ['textbox', 'Nombre o razón social del contribuyente'],
        mes_ini: ['textbox', 'Periodo del, mes'],
        anio_ini: ['textbox', 'Periodo del, año'],
        dia_fin: ['textbox', 'Periodo al, día'],
        c6: ['textbox', 'Gasolina superior, Saldo Inicial, casilla 6'],
        c76: ['textbox', 'Gas licuado de petróleo a granel, Ventas Exentas, casilla 76'],
        c113: ['textbox', 'Totales, Otros Ajustes Negativas, casilla 113'],
        f11c1: ['textbox', 'Anexo, renglón 1, NIT del comprador'],
        f13c2: ['textbox', 'Anexo, renglón 3, Cantidad de galones exentos'],
        f112c1: ['textbox', 'Anexo, renglón 12, NIT del comprador'],
        f112c2: ['textbox', 'Anexo, renglón 12, Cantidad de galones exentos'],
        f112c3: ['combobox', 'Anexo, renglón 12, Tipo de producto'],
        f11c3: ['combobox', 'Anexo, renglón 1, Tipo de producto'],
        c1618: ['textbox', 'Anexo, total de galones exentos, casilla 1618'],
        renglones1: ['textbox', 'Renglones a agregar al anexo'],
        botonanexo1: ['button', 'Agregar renglones'],
        c1619: ['textbox', 'Número de declaración que se rectifica, casilla 1619'],
        c1620: ['textbox', 'Multa, casilla 1620'],
        c1621: ['textbox', 'Total a pagar, casilla 1621'],
        validar: ['button', 'Validar'],
      };
      for (const [id, [role, name]] of Object.entries(expected)) {
        // A button is named by its caption, blanks around it included.
        assert.deepEqual([byId.get(id)?.role, byId.get(id)?.name.trim()], [role, name], id);
      }
    }));

  test('one main region and the section titles as headings', () =>
    onForm(env, async (form) => {
      const { all } = await accessibleNames(form.page);
      assert.equal(all.filter((n) => n.role === 'main').length, 1);
      const headings = all.filter((n) => n.role === 'heading')
        .map((n) => `${n.level} ${n.name.replace(/\s+/g, ' ').trim()}`);
      assert.deepEqual(headings, [
        '1 PETROLEO Declaración Jurada informativa mensual del impuesto a la distribucion de ' +
          'petroleo crudo y combustibles derivados del petróleo',
        '2 PERIODO DE IMPOSICION',
        '2 DETALLE MOVIMIENTO EN GALONES',
        '2 VENTAS TOTALES EXENTAS',
        '2 RECTIFICACIONES (llenar exclusivamente en caso de ser esta una rectificación)',
        '2 MULTA',
      ]);
      assert.equal(await form.page.evaluate(() => document.documentElement.lang), 'es');
    }));

  test('the editable page names the stored rows as the blank page names its own', async () => {
    const view = await openReopened('editable', 20);
    try {
      const { byId } = await accessibleNames(view.page);
      assert.equal(byId.get('f120c2')?.name, 'Anexo, renglón 20, Cantidad de galones exentos');
      assert.equal(byId.get('c36')?.name, 'Diesel, Ventas Exentas, casilla 36');
      // Rows added to a reopened declaration go on with the same names.
      await view.page.fill('[name="renglones1"]', '2');
      await view.page.click('[name="botonanexo1"]');
      const after = (await accessibleNames(view.page)).byId;
      assert.equal(after.get('f122c3')?.name, 'Anexo, renglón 22, Tipo de producto');
      assert.equal(after.get('f121c1')?.name, 'Anexo, renglón 21, NIT del comprador');
      assert.deepEqual(view.alerts, []);
    } finally {
      await view.close();
    }
  });

  test('the read-only page reads each value with its name', async () => {
    const view = await openReopened('readonly', 3);
    try {
      const { all } = await accessibleNames(view.page);
      const names = new Set(all.map((n) => n.name));
      for (const name of [
        'Diesel, Saldo Inicial, casilla 30: 1003.00',
        'Diesel, Ventas Exentas, casilla 36: 3.00',
        'Gasolina superior, Saldo Inicial, casilla 6',
        'Anexo, renglón 2, NIT del comprador: 19',
        'Anexo, renglón 3, Cantidad de galones exentos: 1.00',
        'Anexo, renglón 3, Tipo de producto: DIESEL',
        'Anexo, total de galones exentos, casilla 1618: 3.00',
        'Periodo del, mes: 03',
        'Periodo al, día: 31',
        'Multa, casilla 1620: 100.00',
        'Total a pagar, casilla 1621: 100.00',
      ]) {
        assert.ok(names.has(name), name);
      }
    } finally {
      await view.close();
    }
  });
});

describe('a refused value', () => {
  const invalidOf = async (page, id) => (await accessibleNames(page)).byId.get(id)?.invalid;

  test('is marked invalid where the focus returns, until it is corrected', () =>
    onForm(env, async (form) => {
      await form.enter('c6', '1,000');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.focused(), 'c6');
      assert.equal(await invalidOf(form.page, 'c6'), 'true');
      // Another refused value keeps the mark; an accepted one clears it.
      await form.enter('c6', 'abc');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await invalidOf(form.page, 'c6'), 'true');
      await form.enter('c6', '10');
      assert.deepEqual(await form.takeAlerts(), []);
      assert.equal(await form.value('c6'), '10.00');
      assert.equal(await invalidOf(form.page, 'c6'), 'false');
    }));

  test('in an annex cell, in the period and on Validar', () =>
    onForm(env, async (form) => {
      await form.enter('f11c1', '19');
      await form.enter('f11c2', '-5');
      assert.deepEqual(await form.takeAlerts(), [MSG.below('0.00')]);
      assert.equal(await form.focused(), 'f11c2');
      assert.equal(await invalidOf(form.page, 'f11c2'), 'true');
      await form.enter('f11c2', '5');
      assert.equal(await invalidOf(form.page, 'f11c2'), 'false');

      await form.enter('mes_ini', '13');
      await form.enter('anio_ini', '2011');
      assert.deepEqual(await form.takeAlerts(), [MSG.month]);
      assert.equal(await form.focused(), 'mes_ini');
      assert.equal(await invalidOf(form.page, 'mes_ini'), 'true');
      await form.enter('mes_ini', '3');
      assert.deepEqual(await form.takeAlerts(), []);
      assert.equal(await invalidOf(form.page, 'mes_ini'), 'false');

      // The empty NIT that Validar refuses.
      await form.choose('f11c3', 'GASOLINA SUPERIOR');
      await form.enter('c12', '5');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.blank]);
      assert.equal(await form.focused(), 'c2');
      assert.equal(await invalidOf(form.page, 'c2'), 'true');
    }));
});

// ---- Keyboard alone --------------------------------------------------------

// Presses Tab (or Shift+Tab) until the field `name` has the focus; fails when
// the focus never gets there, as a field out of the keyboard's reach would.
async function tabTo(page, name, { back = false, limit = 200 } = {}) {
  for (let i = 0; i < limit; i++) {
    if ((await page.evaluate(() => document.activeElement?.name ?? '')) === name) return;
    await page.keyboard.press(back ? 'Shift+Tab' : 'Tab');
  }
  assert.fail(`${name} never took the focus`);
}

// Types into the field that has the focus, replacing what it held.
async function typeHere(page, text) {
  await page.keyboard.press('Control+A');
  await page.keyboard.type(text);
}

describe('the keyboard alone', () => {
  test('fills a declaration, adds rows, chooses products and validates it', () =>
    onForm(env, async (form) => {
      const { page } = form;
      await tabTo(page, 'c2');
      await typeHere(page, '19');
      await page.keyboard.press('Tab');
      await typeHere(page, 'Estacion el Sol');
      await tabTo(page, 'mes_ini');
      await typeHere(page, '3');
      await page.keyboard.press('Tab');
      assert.equal(await form.focused(), 'anio_ini');
      await typeHere(page, '2011');
      // Diesel: 1000 in stock, 7.5 sold exempt.
      for (const [box, amount] of [['c30', '1000'], ['c36', '7.5']]) {
        await tabTo(page, box);
        await typeHere(page, amount);
      }
      // Two more rows, asked for and added with Enter on the button.
      await tabTo(page, 'renglones1');
      await typeHere(page, '2');
      await page.keyboard.press('Tab');
      assert.equal(await form.focused(), 'botonanexo1');
      await page.keyboard.press('Enter');
      assert.equal(await page.locator('[name="f15c3"]').count(), 1);
      assert.equal(await form.focused(), 'botonanexo1');
      // Back up to the first row; fill rows 1 and 2, products chosen with
      // the arrows.
      await tabTo(page, 'f11c1', { back: true });
      await typeHere(page, '19');
      await page.keyboard.press('Tab');
      await typeHere(page, '2.5');
      await page.keyboard.press('Tab');
      assert.equal(await form.focused(), 'f11c3');
      for (let i = 0; i < 4; i++) await page.keyboard.press('ArrowDown');
      assert.equal(await form.value('f11c3'), 'DIESEL');
      await page.keyboard.press('Tab');
      assert.equal(await form.focused(), 'f12c1');
      await typeHere(page, '6K');
      await page.keyboard.press('Tab');
      await typeHere(page, '5');
      await page.keyboard.press('Tab');
      // Past the product that is wanted, and back up to it.
      for (let i = 0; i < 5; i++) await page.keyboard.press('ArrowDown');
      await page.keyboard.press('ArrowUp');
      assert.equal(await form.value('f12c3'), 'DIESEL');
      await page.keyboard.press('Tab');
      assert.deepEqual(await form.takeAlerts(), []);
      assert.equal(await form.value('c1618'), '7.50');

      await tabTo(page, 'c1620');
      await typeHere(page, '100');
      await tabTo(page, 'validar');
      await page.keyboard.press('Space');
      // Rows 3 to 5 stay empty: the annex asks nothing of them; the fine
      // warning is shown only for a rectification.
      assert.deepEqual(await form.takeAlerts(), []);
      const calls = await form.generaCalls();
      assert.equal(calls.length, 1);
      const [xml, number, , nit] = calls[0];
      assert.equal(nit, '19');
      assert.match(number, /^1973011103\d{8}$/);
      for (const piece of ['<CASILLA ID="30">1000.00</CASILLA>', '<CASILLA ID="36">7.50</CASILLA>',
        '<CASILLA ID="37">992.50</CASILLA>', '<CASILLA ID="118"><![CDATA[19]]></CASILLA>',
        '<CASILLA ID="120"><![CDATA[DIESEL]]></CASILLA>', '<CASILLA ID="122">5.00</CASILLA>',
        '<CASILLA ID="1618">7.50</CASILLA>', '<MONTO>100.00</MONTO>',
        '<PERIODO_DESDE>20110301</PERIODO_DESDE>']) {
        assert.ok(xml.includes(piece), piece);
      }
    }));

  test('shows where the focus is', () =>
    onForm(env, async (form) => {
      const { page } = form;
      for (const name of ['c2', 'f11c3', 'botonanexo1', 'validar']) {
        await tabTo(page, name);
        const ring = await page.evaluate(() => {
          const s = getComputedStyle(document.activeElement);
          return { visible: document.activeElement.matches(':focus-visible'), style: s.outlineStyle, width: s.outlineWidth };
        });
        assert.equal(ring.visible, true, name);
        assert.notEqual(ring.style, 'none', name);
        assert.notEqual(ring.width, '0px', name);
      }
    }));
});
