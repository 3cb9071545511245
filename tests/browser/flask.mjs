// Browser checks of the Flask dashboard (examples/flask) under gunicorn with
// 2 workers of 4 threads on a free port of 127.0.0.1: its three charts decode
// at their stated sizes with every map area inside its picture, clicks on a
// bar, a line point, a sector and a legend key drill down (and the parts shown
// add up to the item clicked), back and forward restore each view, hostile
// queries get a 400 page, and 200 requests at once all succeed with valid
// PNGs byte-identical to the ones drawn one at a time.
import { fileURLToPath } from 'node:url';
import { check, checkImages, checkMaps, clickArea, expect, startServer } from './lib.mjs';

const bindingDir = fileURLToPath(new URL('../../bindings/python', import.meta.url));
// Debian's Flask and gunicorn serve Debian's Python.
const python = process.env.FLASK_PYTHON || '/usr/bin/python3';
const SIZES = { bar: [1080, 300], line: [640, 300], pie: [380, 300] };
const PNG_START = Buffer.from('89504e470d0a1a0a0000000d49484452', 'hex');
const PNG_END = Buffer.from('0000000049454e44ae426082', 'hex');

// Width and height from the IHDR of a PNG whose signature, IHDR and IEND stand where they must.
function pngSize(bytes) {
  if (bytes.length < 45 || !bytes.subarray(0, 16).equals(PNG_START) ||
      !bytes.subarray(bytes.length - 12).equals(PNG_END)) return null;
  return [bytes.readUInt32BE(16), bytes.readUInt32BE(20)];
}

async function get(url, init) {
  const response = await fetch(url, init);
  return { response, body: Buffer.from(await response.arrayBuffer()) };
}

// Every area's points (a circle's box) lie on its picture; every picture has areas.
async function checkAreasInside(page) {
  const problems = await page.evaluate(() => {
    const out = [];
    for (const img of document.querySelectorAll('img[usemap]')) {
      const areas = [...document.querySelector(`map[name="${img.useMap.slice(1)}"]`).areas];
      if (areas.length === 0) out.push(`${img.src}: no areas`);
      for (const area of areas) {
        const c = area.coords.split(',').map(Number);
        const xy = area.shape === 'circle' ? [c[0] - c[2], c[1] - c[2], c[0] + c[2], c[1] + c[2]] : c;
        for (let i = 0; i < xy.length; i += 2) {
          if (!(xy[i] >= 0 && xy[i] < img.naturalWidth && xy[i + 1] >= 0 && xy[i + 1] < img.naturalHeight)) {
            out.push(`${img.getAttribute('src')}: ${area.shape} ${area.coords} leaves ${img.naturalWidth}x${img.naturalHeight}`);
            break;
          }
        }
      }
    }
    return out;
  });
  expect(problems.length === 0, problems.slice(0, 3).join('; '));
}

// The charts of the page as served: decoded at their stated sizes, PNG
// sizes equal, maps well formed and inside their pictures.
async function checkPage(page, base) {
  const count = await checkImages(page, async (src) => pngSize((await get(new URL(src, base))).body));
  expect(count === 3, `${count} charts, not 3`);
  await checkMaps(page, '/');
  await checkAreasInside(page);
}

// {alt: value} of the areas of a chart's map whose alt matches pattern, the
// value read from the title ("North, Mar: 1,636.0k"); a sector's label area
// repeats its sector's.
function valuesOf(page, kind, pattern) {
  return page.evaluate(([k, source]) => {
    const values = {};
    for (const area of document.querySelector(`map[name="map-${k}"]`).areas) {
      if (new RegExp(source).test(area.alt)) values[area.alt] = Number(area.title.match(/: ([\d,.]+)k/)[1].replace(/,/g, ''));
    }
    return values;
  }, [kind, pattern.source]);
}

const sum = (values) => Object.values(values).reduce((a, b) => a + b, 0);
const heading = async (page) => [await page.textContent('h1'), await page.textContent('h2')];

async function drillDown(page, base) {
  await page.goto(base);
  await checkPage(page, base);
  const north = (await valuesOf(page, 'bar', /^North Mar$/))['North Mar'];
  await clickArea(page, '/chart/bar.png', "area.alt === 'North Mar'", { month: 'Mar' });
  expect(`${await heading(page)}` === 'All regions,Daily revenue, March', `headings ${await heading(page)}`);
  await checkPage(page, base);
  // March's days for North add up to North's March bar.
  const days = await valuesOf(page, 'bar', /^North \d+$/);
  expect(Object.keys(days).length === 31 && Math.abs(sum(days) - north) < 0.1,
    `${Object.keys(days).length} days of North sum to ${sum(days)}, the bar says ${north}`);
  const east = (await valuesOf(page, 'pie', /^East$/)).East;
  await clickArea(page, '/chart/pie.png?month=Mar', "area.shape === 'poly' && area.alt === 'East'",
    { month: 'Mar', region: 'East' });
  expect(`${await heading(page)}` === 'East,Daily revenue, March', `headings ${await heading(page)}`);
  await checkPage(page, base);
  // East's products in March add up to East's March sector.
  const products = await valuesOf(page, 'pie', /./);
  expect(`${Object.keys(products)}` === 'Laptops,Phones,Tablets,Monitors,Accessories' &&
    Math.abs(sum(products) - east) < 0.1, `products ${JSON.stringify(products)} against East's ${east}`);
  // Back, back, forward, forward: each view as it was, charts loaded.
  const views = [['?month=Mar', 'All regions,Daily revenue, March'], ['', 'All regions,Revenue by month'],
    ['?month=Mar', 'All regions,Daily revenue, March'], ['?month=Mar&region=East', 'East,Daily revenue, March']];
  for (const [i, [search, headings]] of views.entries()) {
    await (i < 2 ? page.goBack() : page.goForward());
    expect(new URL(page.url()).search === search && `${await heading(page)}` === headings,
      `step ${i}: ${page.url()} shows ${await heading(page)}`);
    await checkImages(page, async (src) => pngSize((await get(new URL(src, base))).body));
  }
  // The month's chip takes the month away and keeps the region.
  await Promise.all([page.waitForURL((u) => u.search === '?region=East'), page.click('a.chip:has-text("March")')]);
  expect(`${await heading(page)}` === 'East,Revenue by month', `after the chip: ${await heading(page)}`);
}

// [what, start query, picture, area, query landed on, h1 there]
const CLICKS = [
  ['a line point', '', '/chart/line.png', "area.alt === 'South Jul'", { region: 'South', month: 'Jul' }, 'South'],
  ['a legend key', '', '/chart/line.png', "area.title === 'Show West only'", { region: 'West' }, 'West'],
  ['a day', '?month=Mar', '/chart/bar.png?month=Mar', "area.alt === 'East 14'", { month: 'Mar', day: '14' }, 'All regions'],
  ['a product sector', '?region=East', '/chart/pie.png?region=East', "area.shape === 'poly' && area.alt === 'Phones'",
    { region: 'East', product: 'Phones' }, 'East · Phones'],
];

const BAD_QUERIES = ['?region=Atlantis', '?region=%3Cscript%3Ealert(1)%3C/script%3E', '?month=13', '?month=mar',
  '?month=Mar&day=32', '?month=Feb&day=29', '?month=Apr&day=31', '?day=3', '?month=Mar&day=%2B3', '?month=Mar&day=3x',
  '?region=North&region=South', '?colour=red', '?region=%FF', '?region', `?region=${'N'.repeat(300)}`,
  `?region=North${'&month=Jan'.repeat(8)}`];
const BAD_SIZES = ['?w=239', '?w=1201', '?h=159', '?h=801', '?w=1e3', '?w=-300', '?w=', '?w=%EF%BC%95%EF%BC%90%EF%BC%90'];

async function hostileQueries(base) {
  const cases = [...BAD_QUERIES.flatMap((q) => [`${q}`, `chart/bar.png${q}`]), ...BAD_SIZES.map((q) => `chart/pie.png${q}`)];
  for (const query of cases) {
    const { response, body } = await get(`${base}${query}`);
    const text = body.toString();
    expect(response.status === 400 && response.headers.get('content-type') === 'text/html; charset=utf-8' &&
      !text.includes('Traceback') && !text.includes('<script>alert'), `${query}: ${response.status} ${text.slice(0, 80)}`);
  }
  const escaped = (await get(`${base}?region=%3Cscript%3Ealert(1)%3C/script%3E`)).body.toString();
  expect(escaped.includes('&lt;script&gt;alert(1)'), 'the refused value is not shown escaped');
  for (const [query, status] of [['chart/radar.png', 404], ['nope', 404], ['chart/bar.gif', 404]]) {
    const { response } = await get(`${base}${query}`);
    expect(response.status === status, `${query}: ${response.status}`);
  }
  expect((await get(base, { method: 'POST' })).response.status === 405, 'POST / is not refused');
  // The smallest and largest sizes and the last day of February draw.
  for (const [query, size] of [['chart/bar.png?w=240&h=160', '240,160'], ['chart/line.png?w=1200&h=800', '1200,800'],
    ['chart/bar.png?month=Feb&day=28&w=0400', '400,300']]) {
    const { response, body } = await get(`${base}${query}`);
    expect(response.status === 200 && `${pngSize(body)}` === size, `${query}: ${response.status} ${pngSize(body)}`);
  }
}

async function headers(base) {
  const { response, body } = await get(`${base}chart/pie.png?region=North`);
  const etag = response.headers.get('etag');
  expect(response.headers.get('content-type') === 'image/png' && pngSize(body) !== null,
    `chart: ${response.headers.get('content-type')}`);
  expect(/^public, max-age=\d+$/.test(response.headers.get('cache-control')) && etag,
    `chart caching: ${response.headers.get('cache-control')} ${etag}`);
  const again = await get(`${base}chart/pie.png?region=North`, { headers: { 'If-None-Match': etag } });
  expect(again.response.status === 304 && again.body.length === 0, `revalidation: ${again.response.status}`);
  const page = (await get(base)).response;
  expect(page.headers.get('content-type') === 'text/html; charset=utf-8' &&
    page.headers.get('content-security-policy').startsWith("default-src 'none'") &&
    page.headers.get('x-content-type-options') === 'nosniff', 'page headers');
}

// 200 requests at once, three in four a chart (some at a size of their own),
// the rest a page; each answer is compared with the same URL fetched alone.
async function burst(base) {
  const filters = ['', 'region=North', 'month=Mar', 'region=East&month=Mar&day=14', 'region=West&product=Phones', 'month=Dec'];
  const urls = [...Array(200).keys()].map((i) => {
    const filter = filters[i % filters.length];
    if (i % 4 === 3) return `${base}?${filter}`;
    const size = i % 5 === 0 ? 'w=400&h=240' : '';
    return `${base}chart/${['bar', 'line', 'pie'][i % 3]}.png?${[filter, size].filter(Boolean).join('&')}`;
  });
  const alone = new Map();
  const aloneStart = performance.now();
  for (const url of new Set(urls)) alone.set(url, (await get(url)).body);
  const aloneMs = (performance.now() - aloneStart) / alone.size;
  const start = performance.now();
  const results = await Promise.all(urls.map(async (url) => {
    const t = performance.now();
    try {
      const { response, body } = await get(url);
      return { url, status: response.status, body, ms: performance.now() - t };
    } catch (e) {
      return { url, status: e.message, ms: performance.now() - t };
    }
  }));
  const seconds = (performance.now() - start) / 1000;
  const errors = [];
  for (const { url, status, body } of results) {
    const kind = url.match(/chart\/(\w+)\.png/)?.[1];
    const w = url.match(/w=(\d+)/)?.[1];
    const size = kind ? `${pngSize(body || Buffer.alloc(0))}` : null;
    if (status !== 200) errors.push(`${url}: ${status}`);
    else if (kind && size !== `${w ? [w, 240] : SIZES[kind]}`) errors.push(`${url}: PNG ${size}`);
    else if (!kind && (body.toString().match(/<map name=/g) || []).length !== 3) errors.push(`${url}: no three maps`);
    else if (!body.equals(alone.get(url))) errors.push(`${url}: differs from the answer fetched alone`);
  }
  const ms = results.map((r) => r.ms).sort((a, b) => a - b);
  console.log(`# 200 requests at once in ${seconds.toFixed(2)} s (${new Set(urls).size} distinct), ` +
    `${errors.length} errors; latency p50 ${ms[99].toFixed(0)} ms, p95 ${ms[189].toFixed(0)} ms, ` +
    `max ${ms[199].toFixed(0)} ms; one at a time ${aloneMs.toFixed(0)} ms each`);
  expect(errors.length === 0, `${errors.length} bad answers: ${errors.slice(0, 3).join('; ')}`);
}

export async function flaskChecks(browser, flaskDir) {
  let server = null;
  await check('flask: the dashboard starts under gunicorn with 2 workers of 4 threads', async () => {
    server = await startServer(python, ['-m', 'gunicorn', '-w', '2', '--threads', '4', '-b', '127.0.0.1:0',
      '--pythonpath', flaskDir, 'dashboard:app'], /Listening at: (http:\/\/127\.0\.0\.1:\d+)/,
    { ...process.env, PYTHONPATH: bindingDir });
  });
  if (server === null) return;
  const base = `${server.address}/`;
  const page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
  const outside = [];
  await page.route('**/*', (route) => {
    if (new URL(route.request().url()).hostname === '127.0.0.1') return route.continue();
    outside.push(route.request().url());
    return route.abort();
  });
  await check('flask: clicking a month bar and a region sector drills down; back and forward restore each view',
    () => drillDown(page, base));
  for (const [what, start, src, pick, expected, h1] of CLICKS) {
    await check(`flask: clicking ${what} drills down`, async () => {
      await page.goto(`${base}${start}`);
      const { query } = await clickArea(page, src, pick, expected);
      expect([...query.keys()].length === Object.keys(expected).length, `landed on ${page.url()}`);
      expect((await page.textContent('h1')) === h1, `heading ${await page.textContent('h1')}`);
      await checkPage(page, base);
    });
  }
  await check('flask: hostile queries get a 400 page with the value escaped', () => hostileQueries(base));
  await check('flask: PNGs carry their type, caching headers and an ETag; pages their policy', () => headers(base));
  await check('flask: 200 requests at once, every answer whole and the same as alone', () => burst(base));
  await check('flask: no request left 127.0.0.1, no error or warning in the server log', () => {
    expect(outside.length === 0, outside.join(' '));
    const log = server.log();
    expect((log.match(/Booting worker/g) || []).length === 2, 'not two workers');
    expect(!/Traceback|\[ERROR\]|Warning:/.test(log),
      log.split('\n').filter((l) => /ERROR|Error|Warning/.test(l)).slice(0, 3).join(' '));
  });
  await page.close();
}
