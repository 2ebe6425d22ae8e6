// Text that reaches the declaration: what Windows-1252 holds is kept as typed
// (a decomposed accent composed), what it cannot hold or what would break the
// declaration XML is named to the user when the box is left and refused at
// "Validar", where nothing is generated.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { MSG, useBrowser, onForm, fillHeader, fillAnnexRow } from './scripts_support.mjs';

const env = useBrowser();

const NIT_BOX = '"NIT del contribuyente"';
const NAME_BOX = '"Nombre o razón social del contribuyente"';
const annexNitBox = (row) => `"NIT" del renglón ${row} de "VENTAS TOTALES EXENTAS"`;

// `pieces`: what the message names, as shown ('"Ł"', 'U+200B').
function notStorable(box, ...pieces) {
  const named = pieces.length === 1 ? pieces[0] : `${pieces.slice(0, -1).join(', ')} y ${pieces.at(-1)}`;
  const verb = pieces.length === 1 ? 'puede' : 'pueden';
  return `Error:\nLa casilla ${box} contiene ${named}, que no ${verb} guardarse en la declaración.\nPor favor corríjala.`;
}

async function generatedXml(form) {
  const calls = await form.generaCalls();
  assert.equal(calls.length, 1, 'GeneraArchivo called once');
  return calls[0][0];
}

// The declaration read back by a standard XML parser: its NIT and name.
const parsed = (form, xml) =>
  form.page.evaluate((text) => {
    const doc = new DOMParser().parseFromString(text, 'application/xml');
    if (doc.querySelector('parsererror')) return null;
    return {
      nits: [...doc.getElementsByTagName('NIT')].map((e) => e.textContent),
      name: doc.getElementsByTagName('NOMBRE')[0].textContent,
    };
  }, xml);

describe('characters Windows-1252 cannot hold', () => {
  test('are named when the name is left, and refused at Validar', () =>
    onForm(env, async (form) => {
      await fillHeader(form, { name: 'Łódź' });
      assert.deepEqual(await form.takeAlerts(), [notStorable(NAME_BOX, '"Ł"', '"Ź"')]);
      assert.equal(await form.value('c3'), 'ŁÓDŹ', 'the name is left for the user to correct');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [notStorable(NAME_BOX, '"Ł"', '"Ź"')]);
      assert.equal(await form.focused(), 'c3');
      assert.deepEqual(await form.generaCalls(), []);
    }));

  test('in a NIT are named instead of the check character', () =>
    onForm(env, async (form) => {
      await form.enter('c2', '1Ł9');
      assert.deepEqual(await form.takeAlerts(), [notStorable(NIT_BOX, '"Ł"')]);
      await form.enter('f11c1', '1ж9');
      assert.deepEqual(await form.takeAlerts(), [notStorable(annexNitBox(1), '"ж"')]);
    }));

  test('an invisible character is named by its code', () =>
    onForm(env, async (form) => {
      await fillHeader(form, { name: 'Sol\u200bar' });
      assert.deepEqual(await form.takeAlerts(), [notStorable(NAME_BOX, 'U+200B')]);
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [notStorable(NAME_BOX, 'U+200B')]);
      assert.deepEqual(await form.generaCalls(), []);
    }));

  test('an annex NIT that cannot be stored stops Validar', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await form.enter('c36', '5');
      await fillAnnexRow(form, 1, { nit: '19', gallons: '5', product: 'DIESEL' });
      // A value the page did not check as it was typed, as a reopened page may carry.
      await form.setHidden('f11c1', '1Ω9');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [notStorable(annexNitBox(1), '"Ω"')]);
      assert.equal(await form.focused(), 'f11c1');
      assert.deepEqual(await form.generaCalls(), []);
    }));
});

describe('text Windows-1252 holds is kept', () => {
  test('a decomposed accent is composed; µ, ÿ and ƒ keep Windows-1252 capitals', () =>
    onForm(env, async (form) => {
      await fillHeader(form, { name: 'Jose\u0301 10 µm ÿ ƒ' });
      assert.deepEqual(await form.takeAlerts(), []);
      assert.equal(await form.value('c3'), 'JOS\u00c9 10 µM Ÿ ƒ');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      const xml = await generatedXml(form);
      assert.ok(xml.includes(' <NOMBRE><![CDATA[JOS\u00c9 10 µM Ÿ ƒ]]></NOMBRE> '), xml.slice(0, 400));
    }));

  test('markup characters in the name stay inside its CDATA, as typed', () =>
    onForm(env, async (form) => {
      const name = 'PÉREZ & CÍA. <S.A.> "EL SOL" ]] > €';
      await fillHeader(form, { name });
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), []);
      const xml = await generatedXml(form);
      assert.ok(xml.includes(` <NOMBRE><![CDATA[${name}]]></NOMBRE> `));
      assert.deepEqual(await parsed(form, xml), { nits: ['19'], name });
    }));
});

describe('values that would break the declaration XML', () => {
  test('a name holding "]]>" and markup is refused, so no second NIT is forged', () =>
    onForm(env, async (form) => {
      await fillHeader(form, { name: 'A]]></NOMBRE> <NIT>99</NIT> <NOMBRE><![CDATA[B' });
      assert.deepEqual(await form.takeAlerts(), [], 'the name may hold it until Validar');
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [notStorable(NAME_BOX, '"]]>"')]);
      assert.equal(await form.focused(), 'c3');
      assert.deepEqual(await form.generaCalls(), []);
    }));

  test('a NIT holding markup passes the check-character message but not Validar', () =>
    onForm(env, async (form) => {
      for (const [nit, piece] of [['1&9', '"&"'], ['1<9', '"<"'], ['1]]>9', '"]]>"']]) {
        await fillHeader(form, { nit });
        assert.deepEqual(await form.takeAlerts(), [MSG.nit], `NIT ${nit} when left`);
        await form.validar();
        assert.deepEqual(await form.takeAlerts(), [notStorable(NIT_BOX, piece)], `NIT ${nit} at Validar`);
        assert.equal(await form.focused(), 'c2');
      }
      assert.deepEqual(await form.generaCalls(), []);
    }));

  test('an annex NIT holding "]]>" is refused', () =>
    onForm(env, async (form) => {
      await fillHeader(form);
      await form.enter('c36', '5');
      await fillAnnexRow(form, 1, { nit: '1]]>9', gallons: '5', product: 'DIESEL' });
      await form.takeAlerts();
      await form.validar();
      assert.deepEqual(await form.takeAlerts(), [notStorable(annexNitBox(1), '"]]>"')]);
      assert.deepEqual(await form.generaCalls(), []);
    }));
});
