// "Validar": the checks that must pass before a declaration is generated, and
// what the page hands to the program: the declaration XML, the form number,
// the page's HTML and the NIT.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import {
  MSG, useBrowser, onForm, fillHeader, fillAnnexRow, addRows,
} from './scripts_support.mjs';

const env = useBrowser();

// The declaration XML the administration expects, one line, built from its
// parts. `boxes` maps box numbers to their text ("0" when absent); `annex`
// lists the rows that are written, each with its row number.
function declarationXml({ number, nit, name, from, to, boxes = {}, annex = [], date, amount }) {
  const box = (id) => ` <CASILLA ID="${id}">${boxes[id] ?? '0'}</CASILLA> `;
  let xml =
    ` <FORMULARIO NUMERO="${number}"> ` +
    ' <SOURCE>VELAROPC</SOURCE> ' +
    ' <REALSOURCE>VELAROLIGHT</REALSOURCE> ' +
    ' <VERSION>2.0</VERSION> ' +
    ' <CODIGO_FORMULARIO>730</CODIGO_FORMULARIO> ' +
    ' <NUMERO_VERSION>1</NUMERO_VERSION> ' +
    ' <ID_CAMBIO>2.2</ID_CAMBIO> ' +
    ` <NIT>${nit}</NIT> ` +
    ` <PERIODO_DESDE>${from}</PERIODO_DESDE> ` +
    ` <PERIODO_HASTA>${to}</PERIODO_HASTA> ` +
    ' <ANEXOS>0</ANEXOS> ' +
    ` <NOMBRE><![CDATA[${name}]]></NOMBRE> ` +
    ' <DIRECCION></DIRECCION> ' +
    ' <CONTADOR>0</CONTADOR> ' +
    ' <CASILLAS> ';
  for (let id = 6; id <= 117; id++) xml += box(id);
  for (const { row, nit: buyer, gallons, product } of annex) {
    const id = 118 + 3 * (row - 1);
    xml +=
      ` <CASILLA ID="${id}"><![CDATA[${buyer}]]></CASILLA> ` +
      ` <CASILLA ID="${id + 1}">${gallons}</CASILLA> ` +
      ` <CASILLA ID="${id + 2}"><![CDATA[${product}]]></CASILLA> `;
  }
  for (let id = 1618; id <= 1621; id++) xml += box(id);
  return (
    xml +
    `<CASILLA ID="FECPRE">${date}</CASILLA>` +
    '<CASILLA ID="LUGPRE">----------</CASILLA>' +
    ' </CASILLAS> ' +
    ` <MONTO>${amount}</MONTO> ` +
    ' </FORMULARIO> '
  );
}

const MARCH_2011 = { nit: '19', name: 'ESTACION EL SOL', from: '20110301', to: '20110331' };

async function onlyCall(form) {
  const calls = await form.generaCalls();
  assert.equal(calls.length, 1, 'GeneraArchivo called once');
  return calls[0];
}

describe('a complete declaration', () => {
  const DIESEL_ROWS = [
    { row: 1, nit: '19', gallons: '10.50', product: 'DIESEL' },
    { row: 2, nit: '140', gallons: '4.50', product: 'DIESEL' },
    { row: 3, nit: '6K', gallons: '7.00', product: 'GAS LICUADO PETROLEO CARBURACION' },
  ];

  async function fillEverything(form) {
    await fillHeader(form, { nit: '1-9', name: 'Estacion el Sol', month: '3', year: '11' });
    for (const [id, amount] of [[30, '100'], [31, '50'], [32, '0'], [33, '10'], [34, '0'],
      [35, '100'], [36, '15'], [76, '50'], [84, '7']]) {
      await form.enter(`c${id}`, amount);
    }
    await fillAnnexRow(form, 1, { nit: '19', gallons: '10.5', product: 'DIESEL' });
    await fillAnnexRow(form, 2, { nit: '140', gallons: '4.5', product: 'DIESEL' });
    await fillAnnexRow(form, 3, { nit: '6k', gallons: '7', product: 'GAS LICUADO PETROLEO CARBURACION' });
    await form.enter('c1619', '730112345678');
    await form.enter('c1620', '100');
  }

  const FILLED_BOXES = {
    30: '100.00', 31: '50.00', 32: '0.00', 33: '10.00', 34: '0.00', 35: '100.00', 36: '15.00',
    37: '25.00', 76: '50.00', 77: '-50.00', 84: '7.00', 85: '-7.00',
    110: '100.00', 111: '50.00', 113: '10.00', 115: '100.00', 116: '72.00', 117: '-32.00',
    1618: '22.00', 1619: '730112345678', 1620: '100.00', 1621: '100.00',
  };

  test('hands the program the exact XML, form number, page and NIT', () =>
    onForm(env, async (form) => {
      await fillEverything(form);
      assert.deepEqual(await form.takeAlerts(), [MSG.fine], 'the fine warning on leaving the fine');
      await form.validar();
      // The warning only informs: generation goes on.
      assert.deepEqual(await form.takeAlerts(), [MSG.fine]);

      const c1 = await form.value('c1');
      const [xml, number, html, nit] = await onlyCall(form);
      assert.equal(xml, declarationXml({
        ...MARCH_2011, number: c1, boxes: FILLED_BOXES, annex: DIESEL_ROWS,
        date: '05/03/2011', amount: '100.00',
      }));
      // NIT, form code, year, month and the page's own number.
      assert.equal(number, '19' + '7301' + '11' + '03' + c1);
      assert.equal(nit, '19');

      // The page copy shows the filled form as it was when generated.
      const copy = await form.page.evaluate((text) => {
        const doc = new DOMParser().parseFromString(text, 'text/html');
        const get = (n) => doc.getElementsByName(n)[0];
        const chosen = (n) => [...get(n).options].filter((o) => o.hasAttribute('selected')).map((o) => o.value);
        return {
          values: ['c3', 'c37', 'mes_ini', 'f12c2', 'c1621'].map((n) => get(n).getAttribute('value')),
          chosen: [chosen('f11c3'), chosen('f13c3')],
          disabled: ['c6', 'mes_ini', 'f11c1', 'validar'].map((n) => get(n).hasAttribute('disabled')),
        };
      }, html);
      assert.deepEqual(copy.values, ['ESTACION EL SOL', '25.00', '03', '4.50', '100.00']);
      assert.deepEqual(copy.chosen, [['DIESEL'], ['GAS LICUADO PETROLEO CARBURACION']]);
      assert.deepEqual(copy.disabled, [true, true, true, true]);
    }));

  // The copy writes `disabled` where a mark drawn for the copy stood; a page
  // text that happens to hold the mark must stay as it is.
  for (const { when, planted } of [
    { when: 'as usual', planted: false },
    { when: 'when a text of the page holds the mark', planted: true },
  ]) {
    test(`shows the fields disabled in the copy and leaves no mark on the page, ${when}`, () =>
      onForm(env, async (form) => {
        await fillEverything(form);
        await form.takeAlerts();
        const mark = 'data-f7301-copia-5';
        await form.page.evaluate(([m, plant]) => {
          Math.random = () => 0.5;
          if (plant) document.body.appendChild(document.createComment(` ${m}="" `));
        }, [mark, planted]);
        await form.validar();
        const [, , html] = await onlyCall(form);
        const seen = await form.page.evaluate(([text, m]) => {
          const doc = new DOMParser().parseFromString(text, 'text/html');
          const fields = [...doc.querySelectorAll('input:not([type=hidden]), select')];
          return {
            enabledInCopy: fields.filter((f) => !f.hasAttribute('disabled')).map((f) => f.name),
            marksInCopy: doc.querySelectorAll(`[${m}]`).length,
            marksOnPage: document.querySelectorAll(`[${m}]`).length,
            comment: text.includes(`<!-- ${m}="" -->`),
          };
        }, [html, mark]);
        assert.deepEqual(seen, { enabledInCopy: [], marksInCopy: 0, marksOnPage: 0, comment: planted });
      }));
  }

  test('leaves the form filled and usable, and generates again with the new date', () =>
    onForm(env, async (form) => {
      await fillEverything(form);
      await form.validar();
      const fields = ['c6', 'c13', 'mes_ini', 'anio_ini', 'dia_ini', 'anio_fin', 'f11c1', 'renglones1', 'validar'];
      const disabled = await Promise.all(fields.map((n) => form.isDisabled(n)));
      assert.deepEqual(disabled, [false, true, false, false, true, true, false, false, false]);
      assert.equal(await form.value('c37'), '25.00');

      await form.page.clock.setSystemTime(new Date(2011, 2, 6, 8, 0, 0));
      await form.validar();
      const calls = await form.generaCalls();
      assert.equal(calls.length, 2);
      assert.equal(calls[1][0], calls[0][0].replace('05/03/2011', '06/03/2011'));
      assert.equal(calls[1][1], calls[0][1]);
    }));
});

describe('an empty declaration', () => {
  test('writes every box as 0 and the amount 0', () =>
    onForm(env, async (form) => {
      await fillHeader(form, { name: 'x' });
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      const [xml] = await onlyCall(form);
      const c1 = await form.value('c1');
      assert.equal(xml, declarationXml({
        ...MARCH_2011, name: 'X', number: c1, date: '05/03/2011', amount: '0',
      }));
      const zeros = [...xml.matchAll(/<CASILLA ID="(\d+)">0<\/CASILLA>/g)]
        .map((m) => Number(m[1])).filter((id) => id >= 6 && id <= 117);
      assert.equal(zeros.length, 112);
    }));
});

describe('annex rows in the XML', () => {
  test('rows 1 and 2 of ten are written as ids 118 to 123 and nothing else', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await addRows(form, 7);
      await fillAnnexRow(form, 1, { nit: '19', gallons: '3', product: 'NAFTA' });
      await fillAnnexRow(form, 2, { nit: '140', gallons: '2', product: 'ASFALTOS' });
      await form.enter('c60', '3');
      await form.enter('c108', '2');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      assert.equal(await form.value('trenglon1'), '10');
      const [xml] = await onlyCall(form);
      assert.equal(xml, declarationXml({
        ...MARCH_2011, number: await form.value('c1'), date: '05/03/2011', amount: '0',
        boxes: { 60: '3.00', 61: '-3.00', 108: '2.00', 109: '-2.00', 116: '5.00', 117: '-5.00', 1618: '5.00' },
        annex: [
          { row: 1, nit: '19', gallons: '3.00', product: 'NAFTA' },
          { row: 2, nit: '140', gallons: '2.00', product: 'ASFALTOS' },
        ],
      }));
    }));

  // A page reopened for correction may carry a row count that differs from
  // the rows it holds: every complete row on the page must still be written,
  // and rows the page does not hold must not be looked for.
  test('every complete row is written whatever row count the page carries', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await addRows(form, 2);
      const rows = [1, 2, 3, 4, 5].map((row) => ({ row, nit: '19', gallons: `${row}.00`, product: 'DIESEL' }));
      for (const r of rows) await fillAnnexRow(form, r.row, { ...r, gallons: String(r.row) });
      await form.enter('c36', '15');
      await form.validar();
      const [expected] = await onlyCall(form);
      assert.equal((expected.match(/CDATA\[DIESEL\]/g) ?? []).length, 5);

      for (const [i, count] of ['1', '3', '50', ''].entries()) {
        await form.setHidden('trenglon1', count);
        await form.page.evaluate(() => genera());
        const calls = await form.generaCalls();
        assert.equal(calls.length, i + 2, `trenglon1 "${count}": GeneraArchivo called`);
        assert.equal(calls.at(-1)[0], expected, `trenglon1 "${count}"`);
      }
      assert.deepEqual(await form.takeAlerts(), []);
    }));
});

describe('exempt sales must match the annex', () => {
  test('two DIESEL rows of 10.5 and 4.5 require 15 in the diesel exempt sales', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await fillAnnexRow(form, 1, { nit: '19', gallons: '10.5', product: 'DIESEL' });
      await fillAnnexRow(form, 2, { nit: '140', gallons: '4.5', product: 'DIESEL' });
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.exemptSales]);
      await form.enter('c36', '14.99');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.exemptSales]);
      assert.deepEqual(await form.generaCalls(), []);

      await form.enter('c36', '15');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      assert.match((await onlyCall(form))[0], / <CASILLA ID="36">15\.00<\/CASILLA> /);
    }));

  test('liquefied gas for vehicles is compared with its own row, never the bulk row', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await fillAnnexRow(form, 1, { nit: '19', gallons: '7', product: 'GAS LICUADO PETROLEO CARBURACION' });
      await form.enter('c76', '7');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.exemptSales]);
      assert.deepEqual(await form.generaCalls(), []);

      await form.enter('c84', '7');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      await onlyCall(form);
    }));

  test('bulk liquefied gas exempt sales need no annex rows', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await form.enter('c76', '50');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      await onlyCall(form);
    }));

  test('every other product is compared with its exempt sales box', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      const products = [
        ['GASOLINA SUPERIOR', 12], ['GASOLINA REGULAR', 20], ['GASOLINA DE AVIACION', 28],
        ['DIESEL', 36], ['GAS OIL', 44], ['KEROSINA (DPK) (AVJET, TURBO FUEL)', 52], ['NAFTA', 60],
        ['FUEL OIL (BUNKER C)', 68], ['GAS LICUADO PETROLEO CARBURACION', 84],
        ['PETROLEO CRUDO USADO COMO COMBUSTIBLE', 92], ['OTROS COMBUSTIBLES DERIVADOS DEL PETROLEO', 100],
        ['ASFALTOS', 108],
      ];
      await addRows(form, products.length - 3);
      for (const [i, [product]] of products.entries()) {
        await fillAnnexRow(form, i + 1, { nit: '19', gallons: String(i + 1), product });
      }
      // Fill the boxes one by one: Validar refuses until the last one matches.
      for (const [i, [product, box]] of products.entries()) {
        await form.validar();
        assert.deepEqual(await form.takeAlerts(), [MSG.exemptSales], `${product} not yet in c${box}`);
        await form.enter(`c${box}`, String(i + 1));
      }
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      const [xml] = await onlyCall(form);
      assert.match(xml, / <CASILLA ID="1618">78\.00<\/CASILLA> /);
    }));

  // Amounts are kept in cents: gallons of 0.10 and 0.20 make 0.30, and a
  // grid holding 0.30 matches them.
  test('a sum of cents matches the same amount in the grid', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await fillAnnexRow(form, 1, { nit: '19', gallons: '0.1', product: 'NAFTA' });
      await fillAnnexRow(form, 2, { nit: '19', gallons: '0.2', product: 'NAFTA' });
      await form.enter('c60', '0.3');
      assert.equal(await form.value('c1618'), '0.30');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      await onlyCall(form);
    }));
});

describe('an incomplete annex stops Validar', () => {
  test('rows 1 and 3 filled with row 2 emptied again: the NIT of row 2 is asked for', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await fillAnnexRow(form, 1, { nit: '19', gallons: '10', product: 'DIESEL' });
      await fillAnnexRow(form, 2, { nit: '140', gallons: '7', product: 'DIESEL' });
      await fillAnnexRow(form, 3, { nit: '19', gallons: '5', product: 'DIESEL' });
      await form.enter('f12c1', '');
      await form.enter('f12c2', '');
      // From the emptied list the user goes straight to the grid: passing
      // through row 3 would rightly ask for row 2 and empty the cell passed.
      const list = form.page.locator('[name="f12c3"]');
      await list.focus();
      await list.selectOption('');
      await form.enter('c36', '15');
      assert.deepEqual(await form.takeAlerts(), []);
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.rowNit]);
      assert.deepEqual(await form.generaCalls(), []);
    }));

  test('a row with gallons but no product asks for the product', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await form.enter('f11c1', '19');
      await form.enter('f11c2', '4');
      await form.enter('f12c1', '140');
      await form.takeAlerts();
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.rowProduct]);
      assert.deepEqual(await form.generaCalls(), []);
    }));
});

describe('checks before generation', () => {
  test('the rectified declaration number must be 7301 and eight digits', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      // With a fine the warning would follow: the sequence must stop before it.
      await form.enter('c1620', '100');
      for (const number of ['73011234567', '123456789012']) {
        await form.enter('c1619', number);
        await form.leave();
        await form.takeAlerts();
        await form.validar();
        assert.deepEqual(await form.takeAlerts(), [MSG.constancia], number);
      }
      assert.deepEqual(await form.generaCalls(), []);
    }));

  test('a rectification without a fine warns and is generated all the same', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await form.enter('c1619', '730112345678');
      // The caret is now in the empty fine box: leaving it warns already.
      await form.leave();
      assert.deepEqual(await form.takeAlerts(), [MSG.fine]);
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.fine]);
      const [xml] = await onlyCall(form);
      assert.match(xml, / <CASILLA ID="1619">730112345678<\/CASILLA>  <CASILLA ID="1620">0<\/CASILLA> /);
    }));

  test('the fine warning follows the fine box', () =>
    onForm(env, async (form) => {
      await form.enter('c1620', '5');
      assert.deepEqual(await form.takeAlerts(), [], 'a fine without rectification is no warning');
      await form.enter('c1619', '730112345678');
      await form.enter('c1620', '0');
      assert.deepEqual(await form.takeAlerts(), [MSG.fine]);
    }));

  test('the name and NIT are required, one message at a time', () =>
    onForm(env, async (form) => {
      await fillHeader(form, { nit: '', name: '' });
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.blank]);
      await form.enter('c2', '19');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.blank]);
      assert.deepEqual(await form.generaCalls(), []);
    }));

  test('a NIT with a wrong check character is reported but generated', () =>
    onForm(env, async (form) => {
      await fillHeader(form, { nit: '12345678' });
      assert.deepEqual(await form.takeAlerts(), [MSG.nit]);
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [MSG.nit]);
      const [xml, number, , nit] = await onlyCall(form);
      assert.equal(nit, '12345678');
      assert.equal(number, '12345678' + '7301' + '11' + '03' + (await form.value('c1')));
      assert.match(xml, / <NIT>12345678<\/NIT> /);
    }));
});

describe('a NIT of only zeros or blanks is no NIT', () => {
  test('the taxpayer NIT is asked for as an empty box', () =>
    onForm(env, async (form) => {
      for (const nit of ['0', '000', '   ', '0 0', '0-0']) {
        await fillHeader(form, { nit });
        // Leaving the box still tells of the check character.
        assert.deepEqual(await form.takeAlerts(), [MSG.nit], `NIT "${nit}" when left`);
        await form.validar();
        assert.deepEqual(await form.takeAlerts(), [MSG.blank], `NIT "${nit}" at Validar`);
        assert.equal(await form.focused(), 'c2');
      }
      assert.deepEqual(await form.generaCalls(), []);
    }));

  test('an annex NIT is asked for as a missing NIT of its row', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await form.enter('c36', '5');
      for (const nit of ['000', '  ']) {
        await fillAnnexRow(form, 1, { nit, gallons: '5', product: 'DIESEL' });
        assert.deepEqual(await form.takeAlerts(), [MSG.nit], `NIT "${nit}" when left`);
        await form.validar();
        assert.deepEqual(await form.takeAlerts(), [MSG.rowNit], `NIT "${nit}" at Validar`);
        assert.equal(await form.focused(), 'f11c1');
      }
      assert.deepEqual(await form.generaCalls(), []);
    }));

  test('a row of a zero NIT and zero gallons is not written', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await fillAnnexRow(form, 1, { nit: '19', gallons: '3', product: 'NAFTA' });
      await form.enter('f12c1', '0');
      await form.enter('f12c2', '0');
      await form.enter('c60', '3');
      await form.takeAlerts();
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      const [xml] = await onlyCall(form);
      assert.equal(xml, declarationXml({
        ...MARCH_2011, number: await form.value('c1'), date: '05/03/2011', amount: '0',
        boxes: { 60: '3.00', 61: '-3.00', 116: '3.00', 117: '-3.00', 1618: '3.00' },
        annex: [{ row: 1, nit: '19', gallons: '3.00', product: 'NAFTA' }],
      }));
    }));
});
