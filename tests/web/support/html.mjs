// A small reader of the tables in an answer, following the browser's rules
// that the pages rely on: a <table> opened between rows ends the open table,
// and </tr> ends an open cell.

const entities = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'", nbsp: '\u00a0' };

export function decode(text) {
  return text.replace(/&(#x[0-9a-f]+|#[0-9]+|[a-z]+);/gi, (all, name) => {
    if (name[0] === '#') {
      return String.fromCodePoint(name[1] === 'x' || name[1] === 'X' ? parseInt(name.slice(2), 16) : Number(name.slice(1)));
    }
    return entities[name.toLowerCase()] ?? all;
  });
}

function attributes(text) {
  const attrs = {};
  for (const m of text.matchAll(/([a-zA-Z-]+)(?:\s*=\s*("([^"]*)"|'([^']*)'|[^\s>]+))?/g)) {
    attrs[m[1].toLowerCase()] = decode(m[3] ?? m[4] ?? m[2] ?? '');
  }
  return attrs;
}

// The top-level tables of html: [{ attrs, rows: [{ attrs, cells: [{ tag,
// attrs, text, links: [href], tables: [nested tables] }] }] }]. A cell's text
// is its own decoded text, without that of nested tables.
export function parseTables(html) {
  const top = [];
  const stack = []; // open tables: { table, row, cell }
  const current = () => stack[stack.length - 1];
  const closeCell = (t) => { t.cell = null; };
  const closeRow = (t) => { closeCell(t); t.row = null; };
  for (const m of html.matchAll(/<(\/?)([a-zA-Z][a-zA-Z0-9]*)([^>]*)>|([^<]+|<)/g)) {
    const [, slash, rawTag, rest, text] = m;
    const t = current();
    if (text !== undefined) {
      if (t && t.cell) t.cell.text += decode(text);
      continue;
    }
    const tag = rawTag.toLowerCase();
    if (tag === 'table' && !slash) {
      if (t && !t.cell) stack.pop(); // a table between rows ends the open one
      const table = { attrs: attributes(rest), rows: [] };
      const outer = current();
      (outer ? outer.cell.tables : top).push(table);
      stack.push({ table, row: null, cell: null });
    } else if (!t) {
      continue;
    } else if (tag === 'table') {
      stack.pop();
    } else if (tag === 'tr' && !slash) {
      closeRow(t);
      t.row = { attrs: attributes(rest), cells: [] };
      t.table.rows.push(t.row);
    } else if (tag === 'tr') {
      closeRow(t);
    } else if ((tag === 'td' || tag === 'th') && !slash) {
      if (!t.row) continue;
      t.cell = { tag, attrs: attributes(rest), text: '', links: [], tables: [] };
      t.row.cells.push(t.cell);
    } else if (tag === 'td' || tag === 'th') {
      closeCell(t);
    } else if (tag === 'a' && !slash && t.cell) {
      t.cell.links.push(attributes(rest).href);
    }
  }
  return top;
}

// A row as compact strings "tag[*colspan]:text", for readable comparisons.
export function rowSignature(row) {
  return row.cells.map((c) => `${c.tag}${c.attrs.colspan ? '*' + c.attrs.colspan : ''}:${c.text}`);
}
