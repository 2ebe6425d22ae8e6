// NIT boxes: the taxpayer's NIT and the buyers' NITs in the annex are cleaned
// of hyphens and leading zeros and their check character is verified. A wrong
// check character is reported but the text is left for the user to correct.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { MSG, useBrowser, onForm } from './scripts_support.mjs';

const env = useBrowser();

// typed, as the box shows it afterwards, whether its check character is right
const NITS = [
  ['12345679', '12345679', true], // weights 8..2 give 112; 11 - 112 mod 11 = 9
  ['12345678', '12345678', false],
  ['6k', '6K', true], // r = 10: the check character is K
  ['140', '140', true], // r = 11: the check character is 0
  ['19', '19', true],
  ['1-9', '19', true],
  ['019', '19', true],
  ['00 1-9', '19', true],
  ['18', '18', false],
  ['1234567-9', '12345679', true],
  ['1A9', '1A9', false], // a letter in the body is never right
];

describe('the taxpayer NIT', () => {
  test('is cleaned up and its check character verified on leaving it', () =>
    onForm(env, async (form) => {
      for (const [typed, shown, valid] of NITS) {
        await form.enter('c2', typed);
        assert.equal(await form.value('c2'), shown, `typed ${typed}`);
        assert.deepEqual(await form.takeAlerts(), valid ? [] : [MSG.nit], `typed ${typed}`);
      }
    }));

  test('the register of declarations is told of the NITs that typing refuses', () =>
    onForm(env, async (form) => {
      const stored = NITS.map(([, shown]) => shown).concat(['0']);
      const wrong = await form.page.evaluate((nits) => nitsconverificadorinvalido(nits), stored);
      assert.deepEqual(wrong, NITS.filter(([, , valid]) => !valid).map(([, shown]) => shown).concat(['0']));
    }));

  test('0 has no valid check character', () =>
    onForm(env, async (form) => {
      await form.enter('c2', '0');
      assert.deepEqual(await form.takeAlerts(), [MSG.nit]);
    }));

  test('an empty NIT raises no check-character message', () =>
    onForm(env, async (form) => {
      await form.enter('c2', '');
      assert.deepEqual(await form.takeAlerts(), []);
    }));

  test('a wrong NIT is reported once and the user may go on', () =>
    onForm(env, async (form) => {
      await form.enter('c2', '12345678');
      await form.enter('c3', 'Estacion el Sol');
      await form.enter('mes_ini', '3');
      assert.deepEqual(await form.takeAlerts(), [MSG.nit]);
      assert.deepEqual(await form.values(['c2', 'c3', 'mes_ini']), ['12345678', 'ESTACION EL SOL', '3']);
    }));

  test('a wrong NIT stays in the box, selected for correction', () =>
    onForm(env, async (form) => {
      await form.enter('c2', '12345678');
      await form.takeAlerts();
      const selection = await form.page.evaluate(() => {
        const box = document.getElementsByName('c2')[0];
        return box.value.substring(box.selectionStart, box.selectionEnd);
      });
      assert.equal(selection, '12345678');
    }));
});

describe('a buyer NIT in the annex', () => {
  test('gets the same clean-up and check', () =>
    onForm(env, async (form) => {
      await form.enter('f11c1', '1-9');
      assert.equal(await form.value('f11c1'), '19');
      assert.deepEqual(await form.takeAlerts(), []);

      await form.enter('f11c1', '6k');
      assert.equal(await form.value('f11c1'), '6K');
      assert.deepEqual(await form.takeAlerts(), []);

      await form.enter('f11c1', '12345678');
      assert.equal(await form.value('f11c1'), '12345678');
      assert.deepEqual(await form.takeAlerts(), [MSG.nit]);
    }));
});

describe('the name of the taxpayer', () => {
  test('is written in capitals', () =>
    onForm(env, async (form) => {
      await form.enter('c3', 'Estación del Río s.a.');
      assert.equal(await form.value('c3'), 'ESTACIÓN DEL RÍO S.A.');
    }));
});
