// An S3-compatible server on the loopback interface for the publishing tests, in the foreground
// until it is killed:
//
//   node s3_server.js PORT STORAGE BUCKET REGION [CERT KEY]
//
// s3rver keeps the objects in STORAGE and makes BUCKET. It takes a request signed with signature
// version 4 on trust whatever its signature, so every request is checked here first, as a real
// service checks it, with the signer of the official SDKs computing the signature it should
// carry: an unsigned or wrongly signed request, a wrong secret, a signature of another region or
// a body that is not the one signed is refused. The key S3RVER (secret S3RVER) may write; READER
// (secret READER-SECRET) may only read.
'use strict';

const crypto = require('crypto');
const { Readable } = require('stream');
const S3rver = require('s3rver');
const S3Error = require('s3rver/lib/models/error');
const AWSAccount = require('s3rver/lib/models/account');
const { SignatureV4 } = require('@smithy/signature-v4');
const { Hash } = require('@smithy/hash-node');
const { escapeUri } = require('@smithy/core/protocols');

const [port, storage, bucket, region, cert, key] = process.argv.slice(2);
const secrets = { S3RVER: 'S3RVER', READER: 'READER-SECRET' };
const writers = new Set(['S3RVER']);
AWSAccount.DUMMY_ACCOUNT.createKeyPair('READER', secrets.READER);

const AUTHORIZATION =
  /^AWS4-HMAC-SHA256 Credential=([^/]+)\/(\d{8})\/([^/]+)\/s3\/aws4_request, ?SignedHeaders=([a-z0-9;-]+), ?Signature=([0-9a-f]{64})$/;

// The path as a signer sees it: each step decoded, then encoded again the one strict way.
function canonicalPath(rawPath) {
  return rawPath
    .split('/')
    .map(step => escapeUri(decodeURIComponent(step)))
    .join('/');
}

function queryOf(rawQuery) {
  const query = {};
  for (const pair of rawQuery ? rawQuery.split('&') : []) {
    const at = pair.indexOf('=');
    const name = decodeURIComponent(at < 0 ? pair : pair.slice(0, at));
    query[name] = at < 0 ? '' : decodeURIComponent(pair.slice(at + 1).replace(/\+/g, ' '));
  }
  return query;
}

function amzDate(text) {
  const m = /^(\d{4})(\d{2})(\d{2})T(\d{2})(\d{2})(\d{2})Z$/.exec(text || '');
  if (!m) throw new S3Error('AccessDenied', 'X-Amz-Date is missing or malformed.');
  return new Date(Date.UTC(m[1], m[2] - 1, m[3], m[4], m[5], m[6]));
}

async function expectedSignature(ctx, accessKey, signedHeaders, date) {
  const [rawPath, rawQuery] = ctx.req.url.split('?', 2);
  const headers = {};
  for (const name of signedHeaders) {
    const value = ctx.get(name);
    if (value === '' && !(name in ctx.headers)) {
      throw new S3Error('AccessDenied', `The signed header ${name} is missing.`);
    }
    headers[name] = value;
  }
  const signer = new SignatureV4({
    credentials: { accessKeyId: accessKey, secretAccessKey: secrets[accessKey] },
    region,
    service: 's3',
    sha256: Hash.bind(null, 'sha256'),
    uriEscapePath: false,
    applyChecksum: false,
  });
  const signed = await signer.signRequest(
    {
      method: ctx.method,
      protocol: 'http:',
      hostname: '127.0.0.1',
      path: canonicalPath(rawPath),
      query: queryOf(rawQuery),
      headers,
    },
    { signingDate: date, signableHeaders: new Set(signedHeaders) },
  );
  return /Signature=([0-9a-f]{64})$/.exec(signed.headers.authorization)[1];
}

// Reads the whole body, checks it against the hash that was signed, and hands s3rver the same
// bytes.
async function checkedBody(ctx, payloadHash) {
  const chunks = [];
  for await (const chunk of ctx.req) chunks.push(chunk);
  const body = Buffer.concat(chunks);
  if (crypto.createHash('sha256').update(body).digest('hex') !== payloadHash) {
    const error = new S3Error(
      'XAmzContentSHA256Mismatch',
      "The provided 'x-amz-content-sha256' header does not match what was computed.",
    );
    error.status = 400;
    error.expose = true;
    throw error;
  }
  const again = Readable.from([body]);
  again.headers = ctx.req.headers;
  ctx.req = again;
}

async function checkSignature(ctx, next) {
  const match = AUTHORIZATION.exec(ctx.get('authorization'));
  if (!match) throw new S3Error('AccessDenied', 'Access Denied');
  const [, accessKey, day, signedRegion, signedList, signature] = match;
  if (!(accessKey in secrets)) {
    throw new S3Error(
      'InvalidAccessKeyId',
      'The AWS Access Key Id you provided does not exist in our records.',
    );
  }
  if (signedRegion !== region) {
    throw new S3Error(
      'AuthorizationHeaderMalformed',
      `The authorization header is malformed; the region '${signedRegion}' is wrong; expecting '${region}'`,
    );
  }
  const signedHeaders = signedList.split(';');
  for (const needed of ['host', 'x-amz-date', 'x-amz-content-sha256']) {
    if (!signedHeaders.includes(needed)) {
      throw new S3Error('AccessDenied', `The header ${needed} must be signed.`);
    }
  }
  const date = amzDate(ctx.get('x-amz-date'));
  if (Math.abs(Date.now() - date) > 15 * 60 * 1000 || !ctx.get('x-amz-date').startsWith(day)) {
    throw new S3Error('RequestTimeTooSkewed', 'The difference between the request time and the current time is too large.');
  }
  if (signature !== (await expectedSignature(ctx, accessKey, signedHeaders, date))) {
    throw new S3Error(
      'SignatureDoesNotMatch',
      'The request signature we calculated does not match the signature you provided. Check your key and signing method.',
    );
  }
  if (!writers.has(accessKey) && !['GET', 'HEAD'].includes(ctx.method)) {
    throw new S3Error('AccessDenied', 'Access Denied');
  }
  const payloadHash = ctx.get('x-amz-content-sha256');
  if (/^[0-9a-f]{64}$/.test(payloadHash)) {
    await checkedBody(ctx, payloadHash);
  }
  return next();
}

const server = new S3rver({
  address: '127.0.0.1',
  port: Number(port),
  directory: storage,
  silent: false,
  configureBuckets: [{ name: bucket }],
  ...(cert ? { cert: require('fs').readFileSync(cert), key: require('fs').readFileSync(key) } : {}),
});
// After s3rver's logging and error pages, before it routes the request.
const routing = server.middleware.length - 2;
server.middleware.splice(routing, 0, checkSignature);
server.run().then(
  address => console.log(`listening on ${address.address}:${address.port}`),
  error => {
    console.error(error);
    process.exit(1);
  },
);
