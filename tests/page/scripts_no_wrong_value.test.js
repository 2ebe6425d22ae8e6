// No value the form refuses is sealed, wherever it came from (typed beside an
// incomplete row, put back from a draft), and a form put back shows the
// totals it had, the field with the caret counted.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { useBrowser, onForm, fillHeader, fillAnnexRow } from './scripts_support.mjs';

const env = useBrowser();

const takeRecord = (form) =>
  form.page.evaluate(() => JSON.parse(JSON.stringify(borradorformulario())));
const restore = (form, record) => form.page.evaluate((r) => restauraborrador(r), record);

// Gallons typed in row 2 while row 1 lacks its gallons stay unchecked, as
// designed; the rows are then completed around them. `exempt` is what the
// exempt diesel sales must be for the annex sums to match.
async function typedBeforeRowAbove(form, gallons, exempt) {
  await fillHeader(form);
  await form.enter('f11c1', '19');
  await form.enter('f12c2', gallons);
  await form.enter('f12c1', '19');
  await form.choose('f12c3', 'DIESEL');
  await form.enter('f11c2', '10');
  await form.choose('f11c3', 'DIESEL');
  await form.enter('c36', exempt);
}

// The same rows, put back from a draft.
async function restoredDraft(form, gallons, exempt) {
  await fillHeader(form);
  await form.enter('c36', exempt);
  const record = await takeRecord(form);
  Object.assign(record.campos, {
    f11c1: '19', f11c2: '10.00', f11c3: 'DIESEL', f12c1: '19', f12c2: gallons, f12c3: 'DIESEL',
  });
  await restore(form, record);
}

describe('Validar stops at an annex cell that fails its check', () => {
  const cases = [
    ['typed while the row above was incomplete', typedBeforeRowAbove, 'abc', '10'],
    ['typed while the row above was incomplete, below the minimum', typedBeforeRowAbove, '-5', '5'],
    ['put back from a draft', restoredDraft, '1.500,00', '10'],
    ['put back from a draft, below the minimum', restoredDraft, '-5', '5'],
  ];
  for (const [how, fill, gallons, exempt] of cases) {
    test(`${how}: "${gallons}"`, () =>
      onForm(env, async (form) => {
        await fill(form, gallons, exempt);
        await form.takeAlerts();
        await form.validar();
        const alerts = await form.takeAlerts();
        assert.equal(alerts.length, 1, alerts.join(' | '));
        assert.match(alerts[0], /^Error:\nEl valor de la casilla|^Error:\nLa casilla debe ser numérica/);
        assert.equal(await form.focused(), 'f12c2', 'the caret is in the failing cell');
        assert.equal((await form.generaCalls()).length, 0, 'no file');
      }));
  }

  test('the same row corrected is sealed', () =>
    onForm(env, async (form) => {
      await typedBeforeRowAbove(form, 'abc', '10');
      await form.validar();
      await form.takeAlerts();
      await form.enter('f12c2', '5');
      await form.enter('c36', '15');
      await form.validar();
      const [[xml]] = await form.generaCalls();
      assert.match(xml, /<CASILLA ID="122">5\.00<\/CASILLA>/);
    }));
});

describe('a form put back shows the totals it had', () => {
  const cases = [
    ['a product list', 'f12c3', 'DIESEL', { c1618: '60.00' }],
    ['an annex amount', 'f12c2', '30.00', { c1618: '60.00' }],
    ['a box of the movements', 'c6', '5.00', { c13: '5.00', c110: '5.00' }],
  ];
  for (const [what, focus, value, totals] of cases) {
    test(`with the caret on ${what}`, async () => {
      let record;
      await onForm(env, async (form) => {
        await fillAnnexRow(form, 1, { nit: '19', gallons: '30', product: 'DIESEL' });
        await fillAnnexRow(form, 2, { nit: '19', gallons: '30', product: 'DIESEL' });
        await form.enter('c6', '5');
        await form.takeAlerts();
        await form.page.locator(`[name="${focus}"]`).focus();
        record = await takeRecord(form);
        assert.equal(record.foco, focus);
        assert.equal(record.campos[focus], value);
      });
      await onForm(env, async (form) => {
        await restore(form, record);
        assert.equal(await form.focused(), focus);
        assert.deepEqual(await form.values(Object.keys(totals)), Object.values(totals));
        assert.deepEqual(await form.takeAlerts(), []);
      });
    });
  }
});
