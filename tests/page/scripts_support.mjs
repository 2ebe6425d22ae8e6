// Shared pieces of the form-script tests: one browser and server per test
// file, a form driven the way a person fills it (type, Tab, choose, click),
// and the page's messages as the taxpayer reads them.
import { before, after } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, startServer, openPage } from './harness.mjs';

// A Saturday morning in March 2011, local time: the clock of most tests.
export const MARCH_5_2011 = new Date(2011, 2, 5, 10, 20, 30);

export const MSG = {
  numeric: 'Error:\nLa casilla debe ser numérica y el valor debe ser ingresado sin comas',
  above: (limit) => `Error:\nEl valor de la casilla sobrepasa el máximo de ${limit} `,
  below: (limit) => `Error:\nEl valor de la casilla está abajo del mínimo de ${limit} `,
  wholeNumber:
    'Error:\nLa casilla acepta unicamente valores enteros positivos. Por favor corrija ingresando un valor entero.',
  blank: 'Error:\nLa casilla está en blanco. Por favor llénela',
  monthNotNumeric: 'Error:\nMes inicial inválido. No se aceptan campos alfanuméricos',
  yearNotNumeric: 'Error:\nAño inicial inválido. No se aceptan campos alfanuméricos',
  badDate: 'Error:\nLa fecha no es válida. Por favor escríbala correctamente.',
  tooOld:
    'Error:\nNo deben declararse períodos de imposición de más de 10 años de antiguedad.\n' +
    'Por favor escriba correctamente las casillas "año"',
  tooEarly:
    'Error:\nNo deben declararse períodos de imposición con dos o más años de anticipación.\n' +
    'Por favor escriba correctamente las casillas "año"',
  month: 'Error:\nEl mes debe estar entre 1 y 12',
  nit: 'Error:\nEl NIT posee un dígito verificador inválido.\nPor favor escríbalo correctamente',
  rectifiedChars:
    'Error:\nLa casilla "Nº de la declaración que se rectifica" contiene caracteres no permitidos.\n' +
    'Por favor corrija el error ingresando números enteros mayores a cero.',
  tooManyRows:
    'Error:\nUsted ha solicitado un número de renglones superior al máximo permitido.\n' +
    'El máximo permitido es 500 renglones.\n' +
    'Si usted necesita llenar más de 500 renglones, por favor presente más de un formulario',
  rowNit: 'Usted no ha ingresado el NIT, por favor ingrese la información que se indica.',
  rowGallons:
    'Usted no ha ingresado la cantidad de galones exentos, por favor ingrese la información que se indica.',
  rowProduct:
    'Usted no ha ingresado el tipo de producto, por favor ingrese la información que se indica.',
  exemptSales:
    'Error:\nLas ventas exentas consignadas en el "Detalle de Movimientos en galones" de la columna ' +
    '"ventas Exentas" debe coincidir con el total de las Cantidades de galones exentos reflejados en el ' +
    'apartado "Ventas Totales Exentas", tomando en cuenta que no se deben incluir las ventas exentas de ' +
    '"gas licuado de petroleo a granel". Por favor corrija el error consignando los valores validos.',
  constancia:
    'Error:\nEl número de constancia no es valida, el número tiene que iniciar con los dígitos 7301 ' +
    'seguido del numeral de 8 dígitos, favor verifique el código y número de la constancia.',
  fine:
    'Warning: \n Usted ha llenado la casilla "No. De Declaración que se rectifica". La multa por ' +
    'rectificación según el Código Tributario en su Art. 94 es por un valor de cien quetzales (Q.100).',
};

// Starts Chromium and the resource server for the tests of one file. The
// tests of a file share one browser tab; each test loads the blank form
// afresh in it (a new tab costs seconds on a busy machine).
export function useBrowser() {
  const env = {};
  before(async () => {
    env.browser = await launchBrowser();
    env.server = await startServer();
  });
  after(async () => {
    await env.tab?.close();
    await env.server?.close();
    await env.browser?.close();
  });
  return env;
}

async function loadBlankForm(env, clock) {
  if (!env.tab) {
    env.tab = await openPage(env.browser, env.server.blankUrl, { clock });
    return env.tab;
  }
  await env.tab.page.clock.setSystemTime(clock);
  await env.tab.page.goto(env.server.blankUrl);
  env.tab.alerts.length = 0;
  env.tab.errors.length = 0;
  return env.tab;
}

const field = (page, name) => page.locator(`[name="${name}"]`);

// The blank form, loaded on `clock`, and the actions a person takes on it.
export async function openForm(env, { clock = MARCH_5_2011 } = {}) {
  const opened = await loadBlankForm(env, clock);
  const { page, alerts, errors } = opened;
  const form = {
    page,
    alerts,
    errors,
    // Waits until the page has run what the last action started; alerts are
    // synchronous, so every alert raised by then has been recorded.
    settle: () => page.evaluate(() => 0),
    // Alerts recorded since the last call.
    async takeAlerts() {
      await form.settle();
      return alerts.splice(0, alerts.length);
    },
    // Types `text` into a field (replacing what it held) and leaves it with Tab.
    async enter(name, text) {
      await field(page, name).fill(text);
      await page.keyboard.press('Tab');
    },
    // Chooses a product in an annex list (the empty choice is '') and leaves it.
    async choose(name, product) {
      const list = field(page, name);
      await list.focus();
      await list.selectOption(product);
      await page.keyboard.press('Tab');
    },
    async click(name) {
      await field(page, name).click();
      await form.settle();
    },
    // Presses Validar. The field being edited is left first, as clicking on
    // the page around it does: a message raised by leaving a field swallows
    // the click that caused it, and the user clicks again.
    async validar() {
      await form.leave();
      await form.click('validar');
    },
    // Leaves the field that has the focus, as a click beside it does.
    async leave() {
      await page.evaluate(() => document.activeElement?.blur());
      await form.settle();
    },
    value: (name) => page.evaluate((n) => document.getElementsByName(n)[0].value, name),
    values: (names) =>
      page.evaluate((ns) => ns.map((n) => document.getElementsByName(n)[0].value), names),
    isDisabled: (name) => page.evaluate((n) => document.getElementsByName(n)[0].disabled, name),
    focused: () => page.evaluate(() => document.activeElement?.name ?? null),
    generaCalls: opened.generaCalls,
    // A field the page keeps hidden, set the way the program's other pages
    // may carry it.
    setHidden: (name, text) =>
      page.evaluate(([n, t]) => (document.getElementsByName(n)[0].value = t), [name, text]),
  };
  return form;
}

// Runs `body` on a freshly loaded blank form, then checks that no script on
// the page threw at any point.
export async function onForm(env, options, body) {
  if (typeof options === 'function') [options, body] = [{}, options];
  const form = await openForm(env, options);
  await body(form);
  await form.settle();
  assert.deepEqual(form.errors.map(String), [], 'page script errors');
}

// Taxpayer identity and a monthly period, as typed by the user.
export async function fillHeader(form, { nit = '19', name = 'Estacion el Sol', month = '3', year = '2011' } = {}) {
  await form.enter('c2', nit);
  await form.enter('c3', name);
  await form.enter('mes_ini', month);
  await form.enter('anio_ini', year);
}

// Fills annex row `row` completely: NIT, gallons, product.
export async function fillAnnexRow(form, row, { nit, gallons, product }) {
  await form.enter(`f1${row}c1`, nit);
  await form.enter(`f1${row}c2`, gallons);
  await form.choose(`f1${row}c3`, product);
}

// Asks for `count` more annex rows with the add-rows button.
export async function addRows(form, count) {
  await form.enter('renglones1', String(count));
  await form.click('botonanexo1');
}
