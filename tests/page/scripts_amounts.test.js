// Amount boxes: what the taxpayer types is checked, rounded to cents the way
// the form always has (on the decimal text), or refused and emptied.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { MSG, useBrowser, onForm } from './scripts_support.mjs';

const env = useBrowser();

describe('an amount box shows two decimals', () => {
  const cases = [
    ['12.345', '12.35'],
    ['12.344', '12.34'],
    ['0.999', '1.00'],
    ['5', '5.00'],
    // 1.005 is 1.00499999... as the machine holds it: the carry must come
    // from the typed digits, not from the binary value.
    ['1.005', '1.01'],
    ['2.675', '2.68'],
    ['9.995', '10.00'],
    ['0.5', '0.50'],
    ['.25', '0.25'],
    ['7.10', '7.10'],
    ['9999999999.99', '9999999999.99'],
  ];
  test('typed amounts are rounded on the third decimal and padded', () =>
    onForm(env, async (form) => {
      for (const [typed, shown] of cases) {
        await form.enter('c6', typed);
        assert.equal(await form.value('c6'), shown, `typed ${typed}`);
      }
      assert.deepEqual(await form.takeAlerts(), []);
    }));

  test('the fine box rounds the same way', () =>
    onForm(env, async (form) => {
      await form.enter('c1620', '12.345');
      assert.equal(await form.value('c1620'), '12.35');
    }));

  test('an empty box passes and stays empty', () =>
    onForm(env, async (form) => {
      await form.enter('c6', '');
      assert.equal(await form.value('c6'), '');
      assert.deepEqual(await form.takeAlerts(), []);
    }));
});

describe('an amount box refuses what is not an amount', () => {
  test('a thousands comma gives the numeric message and empties the box', () =>
    onForm(env, async (form) => {
      await form.enter('c7', '1,250');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.value('c7'), '');
      assert.equal(await form.focused(), 'c7', 'the box to correct keeps the caret');
    }));

  test('letters give the numeric message', () =>
    onForm(env, async (form) => {
      await form.enter('c14', 'diez');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.value('c14'), '');
    }));

  test('a negative amount is below the minimum and emptied', () =>
    onForm(env, async (form) => {
      await form.enter('c6', '-3');
      assert.deepEqual(await form.takeAlerts(), [MSG.below('0.00')]);
      assert.equal(await form.value('c6'), '');
    }));

  test('ten thousand million is above the maximum and emptied', () =>
    onForm(env, async (form) => {
      await form.enter('c1620', '10000000000');
      assert.deepEqual(await form.takeAlerts(), [MSG.above('9999999999.99')]);
      assert.equal(await form.value('c1620'), '');
    }));

  test('a refused amount leaves nothing behind in the totals', () =>
    onForm(env, async (form) => {
      await form.enter('c6', '40');
      await form.enter('c6', '-3');
      await form.takeAlerts();
      // Leaving another box recomputes with the emptied box counting 0.
      await form.enter('c7', '');
      assert.deepEqual(await form.values(['c13', 'c110']), ['0', '0']);
    }));
});

describe('the number of the rectified declaration', () => {
  test('takes digits only', () =>
    onForm(env, async (form) => {
      for (const typed of ['abc', '-5', '7301.5']) {
        await form.enter('c1619', typed);
        assert.deepEqual(await form.takeAlerts(), [MSG.wholeNumber], `typed ${typed}`);
        assert.equal(await form.value('c1619'), '');
      }
    }));

  test('zero is refused by its own message and emptied', () =>
    onForm(env, async (form) => {
      await form.enter('c1619', '0');
      assert.deepEqual(await form.takeAlerts(), [MSG.rectifiedChars]);
      assert.equal(await form.value('c1619'), '');
    }));

  test('a declaration number is kept as typed', () =>
    onForm(env, async (form) => {
      await form.enter('c1619', '730112345678');
      assert.equal(await form.value('c1619'), '730112345678');
      // The fine warning belongs to the fine box and to Validar, not here.
      assert.deepEqual(await form.takeAlerts(), []);
    }));
});

describe('an amount is written in decimal', () => {
  test('hexadecimal, binary and octal texts get the numeric message', () =>
    onForm(env, async (form) => {
      for (const [box, typed] of [['c6', '0x10'], ['c6', '0b11'], ['c6', '0o7'], ['c1620', '0X1F']]) {
        await form.enter(box, typed);
        assert.deepEqual(await form.takeAlerts(), [MSG.numeric], `typed ${typed}`);
        assert.equal(await form.value(box), '', `typed ${typed}`);
      }
      // A decimal amount with leading zeros is still the decimal amount.
      await form.enter('c6', '010');
      assert.equal(await form.value('c6'), '10.00');
      assert.deepEqual(await form.takeAlerts(), []);
    }));

  test('annex gallons and the rows requested follow the same rule', () =>
    onForm(env, async (form) => {
      await form.enter('f11c1', '19');
      await form.enter('f11c2', '0x10');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.value('f11c2'), '');
      await form.enter('renglones1', '0b11');
      await form.click('botonanexo1');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.page.evaluate(() => document.getElementsByName('f14c1').length), 0);
    }));
});

describe('the totals follow the values on screen', () => {
  test('a refused grid amount takes its earlier value out of the totals at once', () =>
    onForm(env, async (form) => {
      await form.enter('c6', '40');
      assert.deepEqual(await form.values(['c13', 'c110']), ['40.00', '40.00']);
      await form.enter('c6', '1,5');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.value('c6'), '');
      assert.deepEqual(await form.values(['c13', 'c110']), ['0', '0']);
    }));

  test('a refused fine takes the total to pay back to nothing', () =>
    onForm(env, async (form) => {
      await form.enter('c1620', '100');
      assert.equal(await form.value('c1621'), '100.00');
      await form.enter('c1620', '1,5');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.value('c1621'), '0');
    }));

  test('refused annex gallons leave the annex total at once', () =>
    onForm(env, async (form) => {
      await form.enter('f11c1', '19');
      await form.enter('f11c2', '10');
      await form.choose('f11c3', 'DIESEL');
      assert.equal(await form.value('c1618'), '10.00');
      await form.enter('f11c2', '1,5');
      assert.deepEqual(await form.takeAlerts(), [MSG.numeric]);
      assert.equal(await form.value('c1618'), '0');
    }));

  test('gallons kept beside an incomplete earlier row count in the total as shown', () =>
    onForm(env, async (form) => {
      await form.enter('f11c1', '19');
      await form.enter('f11c2', '1');
      await form.choose('f11c3', 'NAFTA');
      await form.enter('f12c1', '140');
      await form.enter('f12c2', '5');
      await form.choose('f12c3', 'NAFTA');
      assert.equal(await form.value('c1618'), '6.00');
      await form.enter('f11c1', '');
      await form.enter('f12c2', '7');
      assert.deepEqual(await form.takeAlerts(), [MSG.rowNit]);
      assert.equal(await form.value('f12c2'), '7');
      assert.equal(await form.value('c1618'), '8.00');
    }));
});
