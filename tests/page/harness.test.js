// The harness itself: a page served by it reaches its res: resources.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { rewriteResAddresses } from './harness.mjs';

test('only the program resource addresses are rewritten', () => {
  const html =
    "<link href='res://Formulario7301.exe/#23/#132'><script src='res://formulario7301.exe/#23/#136'>" +
    "<a href='res://Otro.exe/#23/#132'></a><script src='res://Formulario7301.exe/#23/#137'>";
  assert.equal(
    rewriteResAddresses(html),
    "<link href='/res/132'><script src='/res/136'>" +
      "<a href='res://Otro.exe/#23/#132'></a><script src='res://Formulario7301.exe/#23/#137'>",
  );
});
