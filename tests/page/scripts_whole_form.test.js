// The shortcuts that let "Validar" and the recomputation walk a 500-row form
// quickly must give what the box-by-box work gives: the check of the whole
// form's texts at once, the page's elements looked up once per name, and the
// marks of the chosen products in the copy of the page. (What Validar hands
// over as a whole is compared with kept outputs in golden_generation.)
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { useBrowser, onForm, addRows } from './scripts_support.mjs';

const env = useBrowser();

// Texts, and whether they stand inside CDATA in the declaration.
const TEXTS = [
  ['ESTACION EL SOL', false], ['ESTACION EL SOL', true], ['', false],
  ['AÑO ÚNICO ÿ', true], ['tab\there\r\nline', true], ['\x7f', false],
  ['€ and Œ', true], ['e\u0301', true], ['\u0141', true], ['😀', false],
  ['a]]>b', true], ['a]]>b', false], ['a<b', true], ['a<b', false], ['a&b', false],
  ['\x01', true], ['\x1f', false], ['\x85', true], ['\u00a0', false], ['\u2028', true],
];

describe('the check of all the declaration texts at once', () => {
  test('accepts only what every box on its own can store, and the plain texts', () =>
    onForm(env, async (form) => {
      const results = await form.page.evaluate((texts) => texts.map(([text, cdata]) => {
        const place = [{ campo: { value: text }, cdata }];
        const alone = noguardable(text.normalize('NFC'), cdata).length === 0;
        return { text, cdata, alone, atOnce: todoslugaresguardables(place) };
      }), TEXTS);
      for (const r of results) {
        // The quick check may send a storable text to the box-by-box one
        // (composing, Windows-1252's own letters), never the other way.
        if (r.atOnce) assert.ok(r.alone, `${JSON.stringify(r.text)} (CDATA ${r.cdata}) passed at once`);
      }
      const plain = results.filter((r) => /^[\t\n\r\x20-\x7e\xa0-\xff]*$/.test(r.text) && r.alone);
      assert.ok(plain.length >= 5 && plain.every((r) => r.atOnce), 'plain storable texts pass at once');
    }));

  test('a bad text anywhere among many good ones sends the form to the box-by-box check', () =>
    onForm(env, async (form) => {
      const verdicts = await form.page.evaluate(() => {
        const good = Array.from({ length: 300 }, (_, i) => ({ campo: { value: `${i}.00` }, cdata: false }));
        return [['a]]>b', true], ['a<b', false], ['\u0141', true], ['fine', true]].map(([text, cdata]) => {
          const places = good.slice();
          places.splice(150, 0, { campo: { value: text }, cdata }, { campo: null, cdata: true });
          return todoslugaresguardables(places);
        });
      });
      assert.deepEqual(verdicts, [false, false, false, true]);
    }));
});

describe('elements looked up once per name', () => {
  test('are the elements a fresh look-up finds, and only while the walk lasts', () =>
    onForm(env, async (form) => {
      await addRows(form, 2);
      const seen = await form.page.evaluate(() => {
        const names = ['c6', 'c1621', 'f11c1', 'f15c3', 'f16c1', 'mes_ini', 'validar', 'C', 'nada', 'cuerpo1'];
        const fresh = names.map((n) => BuscaObj(n));
        const once = conbusquedafija(() => names.map((n) => [BuscaObj(n), BuscaObj(n)]));
        const rows = conbusquedafija(() => [filasenpagina(1), filasenpagina(1)]);
        try {
          conbusquedafija(() => { BuscaObj('f16c1'); throw new Error('stop'); });
        } catch (e) {
          // The walk ends with its failure: the row missing then is found once added.
        }
        agregar(1, 1);
        return {
          same: once.map(([a, b], i) => a === fresh[i] && b === fresh[i]),
          found: fresh.map((e) => e !== null),
          rows,
          afterwards: [BuscaObj('f16c1') !== null, filasenpagina(1), BUSQUEDAFIJA],
        };
      });
      assert.deepEqual(seen.same, Array(10).fill(true));
      assert.deepEqual(seen.found, [true, true, true, true, false, true, true, true, false, true]);
      assert.deepEqual(seen.rows, [5, 5]);
      assert.deepEqual(seen.afterwards, [true, 6, null]);
    }));
});

// Changes to the page between two walks, each made in the same task as the
// second walk (before any observer could hear of it) and in a task of its own.
const CHANGES = {
  'a row added': () => agregar(1, 1),
  'the last row removed': () => BuscaObj('cuerpo1').lastElementChild.remove(),
  'a cell renamed': () => { const e = BuscaObj('f12c1'); e.name = 'otro'; e.id = 'otro'; },
  'a cell put in place of another': () => {
    const old = BuscaObj('f12c1');
    const e = old.cloneNode();
    old.replaceWith(e);
  },
  'a new element taking a name first': () => {
    const e = document.createElement('input');
    e.id = 'c6';
    document.body.prepend(e);
  },
};

describe('elements found in one walk and kept for the next', () => {
  for (const [change, sameTask] of Object.keys(CHANGES).flatMap((c) => [[c, true], [c, false]])) {
    test(`are found afresh after ${change}${sameTask ? ' in the same task' : ''}`, () =>
      onForm(env, async (form) => {
        await addRows(form, 2);
        const seen = await form.page.evaluate(async ([body, same]) => {
          const names = ['c6', 'f12c1', 'otro', 'f15c3', 'f16c1'];
          const look = () => conbusquedafija(() => ({
            found: names.map((n) => BuscaObj(n)), cells: [celdade(1, 2, 1), celdade(1, 6, 1)],
            rows: filasenpagina(1),
          }));
          look();
          (0, eval)(`(${body})`)();
          if (!same) await new Promise((r) => setTimeout(r, 0));
          const kept = look();
          const fresh = { found: names.map((n) => BuscaObj(n)), cells: [BuscaObj('f12c1'), BuscaObj('f16c1')] };
          return {
            found: kept.found.map((e, i) => e === fresh.found[i]),
            cells: kept.cells.map((e, i) => e === fresh.cells[i]),
            rows: kept.rows === cuentafilas(1),
          };
        }, [CHANGES[change].toString(), sameTask]);
        assert.deepEqual(seen, { found: Array(5).fill(true), cells: [true, true], rows: true });
      }));
  }
});

describe('the marks of the chosen products in the copy of the page', () => {
  // Each list: its options' marks in the markup, the option chosen, and
  // whether it takes several choices. fijaopcion must leave the marks the
  // plain walk over every option leaves.
  const LISTS = [
    { marks: [null, null, null], chosen: [1] },
    { marks: [null, 'selected', null], chosen: [2] },
    { marks: ['', null, null], chosen: [0] },
    { marks: [null, '', 'selected'], chosen: [0] },
    { marks: ['selected', null, 'x'], chosen: [1], group: true },
    { marks: [null, 'selected', null], chosen: [0, 2], multiple: true },
  ];

  test('are those the walk over every option leaves', () =>
    onForm(env, async (form) => {
      const copies = await form.page.evaluate((lists) => {
        function build({ marks, chosen, multiple, group }) {
          const list = document.createElement('select');
          list.multiple = !!multiple;
          const holder = group ? list.appendChild(document.createElement('optgroup')) : list;
          marks.forEach((mark, i) => {
            const option = holder.appendChild(new Option(`p${i}`, `p${i}`));
            if (mark !== null) option.setAttribute('selected', mark);
          });
          document.body.appendChild(list);
          [...list.options].forEach((o, i) => (o.selected = chosen.includes(i)));
          return list;
        }
        function walkEvery(list) {
          for (const o of list.options) if (!o.selected) o.removeAttribute('selected');
          for (const o of list.options) if (o.selected) o.setAttribute('selected', 'selected');
        }
        return lists.map((l) => {
          const plain = build(l);
          const quick = build(l);
          const paged = build(l);
          walkEvery(plain);
          if (quick.multiple) fijaopciones(quick.options); else fijaopcion(quick);
          // As the copy of the page does it: the marked options of every list found at once.
          if (!paged.multiple) fijaopcion(paged, opcionesmarcadas().get(paged) || []);
          else fijaopciones(paged.options);
          const result = [plain.outerHTML, quick.outerHTML, paged.outerHTML, [...quick.options].map((o) => o.selected)];
          plain.remove();
          quick.remove();
          paged.remove();
          return result;
        });
      }, LISTS);
      copies.forEach(([plain, quick, paged, selected], i) => {
        assert.equal(quick, plain, `list ${i}`);
        assert.equal(paged, plain, `list ${i}, marks found for the whole page`);
        assert.deepEqual(selected, LISTS[i].marks.map((_, k) => LISTS[i].chosen.includes(k)), `list ${i} choice`);
      });
    }));
});

describe('a computed box written once, with its last text', () => {
  // Values a rule may give, written into boxes of each kind.
  const VALUES = [1390, 0, -2.5, 1e21, null, undefined, '', ' 7 ', 'a\r\nb', 'a\nb\rc', '12.345'];
  const KINDS = ['text', 'hidden', 'textarea', 'select'];

  test('the text is what the box holds once the value is written into it', () =>
    onForm(env, async (form) => {
      const mismatches = await form.page.evaluate(([values, kinds]) => {
        const make = (kind) => {
          if (kind === 'textarea') return document.createElement(kind);
          if (kind === 'select') {
            const list = document.createElement(kind);
            list.append(new Option('7', '7'), new Option('1390', '1390'));
            return list;
          }
          const input = document.createElement('input');
          input.type = kind;
          return input;
        };
        const wrong = [];
        for (const kind of kinds) {
          for (const value of values) {
            const box = make(kind);
            document.body.appendChild(box);
            const predicted = textocasilla(make(kind), value);
            box.value = value;
            if (predicted !== box.value) wrong.push([kind, String(value), predicted, box.value]);
            box.remove();
          }
        }
        return wrong;
      }, [VALUES, KINDS]);
      assert.deepEqual(mismatches, []);
    }));

  test('recomputing an unchanged form writes no box', () =>
    onForm(env, async (form) => {
      await form.enter('c30', '1000');
      await form.enter('c35', '10.5');
      const written = await form.page.evaluate(() => {
        const names = [];
        for (let i = 1; i <= MAXELEMENT; i++) {
          const box = BuscaObj(c[i].id);
          if (!box || box.type === 'hidden') continue;
          const own = Object.getOwnPropertyDescriptor(HTMLInputElement.prototype, 'value');
          Object.defineProperty(box, 'value', {
            configurable: true,
            get() { return own.get.call(this); },
            set(v) { names.push(this.name); own.set.call(this, v); },
          });
        }
        formulas();
        return names;
      });
      assert.deepEqual(written, []);
      assert.deepEqual(await form.values(['c37', 'c110', 'c113']), ['989.50', '1000.00', '0']);
    }));
});
